// A record cut short by a real kernel-level failure: the file system full (a 64 KiB tmpfs, where
// mounting is permitted) and the file size limit (RLIMIT_FSIZE with SIGXFSZ ignored, which works
// for any user). The short write is reported, the whole records stay, and the next run writes
// over the stray bytes at their record offset.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDocuments = 14;
constexpr unsigned long kTmpfsSize = 64 * 1024;
constexpr std::size_t kPage = 4096;

class DiskFullTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string bytes;
        for (std::size_t i = 1; i <= kDocuments; ++i) {
            bytes += Document("202401" + std::string(i < 10 ? "0" : "") + std::to_string(i),
                              "D" + std::to_string(i)) +
                     "\r\n";
        }
        testing::WriteFileBytes(ExportPath(), bytes);
        fs::create_directory(Ledger());
        // The same run without faults gives the records to compare with.
        testing::TempDirectory reference;
        ASSERT_EQ(
            RunOnce(ExportPath(), reference.Path().string(), LocalFileSystem()).result.outcome,
            RunOutcome::Completed);
        reference_ = testing::ReadFileBytes(PeriodFileName(reference.Path().string(), 2024, 1));
        ASSERT_EQ(reference_.size(), kDocuments * 400);
    }

    std::string ExportPath() const { return root_.File("eksp2kap.kpm"); }
    std::string Ledger() const { return root_.File("ledger"); }
    std::string PeriodFile() const { return PeriodFileName(Ledger(), 2024, 1); }

    // Runs in the child: the failing run, then `makeRoom`, then a run that must go through.
    // Reports both traces and the file after each run.
    static int TwoRuns(const std::string& exportPath, const std::string& ledger,
                       const std::function<bool()>& makeRoom, std::string& out) {
        const std::string file = PeriodFileName(ledger, 2024, 1);
        const RunRecord full = RunOnce(exportPath, ledger, LocalFileSystem());
        AppendLines(out, full.trace);
        AppendBlob(out, testing::ReadFileBytes(file));
        if (!makeRoom()) {
            return 3;
        }
        const RunRecord next = RunOnce(exportPath, ledger, LocalFileSystem());
        AppendLines(out, next.trace);
        AppendBlob(out, testing::ReadFileBytes(file));
        return 0;
    }

    // `whole` records fit; the next one was cut after `partial` bytes.
    void CheckTwoRuns(const ChildResult& child, std::size_t whole, std::size_t partial) const {
        ASSERT_EQ(child.exitCode, 0);
        BlobReader reader(child.output);
        const Lines firstTrace = reader.Lines();
        const std::string afterFull = reader.Blob();
        const Lines nextTrace = reader.Lines();
        const std::string afterNext = reader.Blob();

        ASSERT_GE(firstTrace.size(), 3u);
        EXPECT_EQ(Lines(firstTrace.end() - 3, firstTrace.end()),
                  (Lines{AppendFailedLine(PeriodFile()),
                         CountLine(static_cast<std::int64_t>(whole + 1)), kEndLine}));
        // Whole records as a run without faults writes them, then the start of the cut one.
        ASSERT_EQ(afterFull.size(), whole * 400 + partial);
        EXPECT_EQ(afterFull, reference_.substr(0, afterFull.size()));

        ASSERT_GE(nextTrace.size(), 3u);
        EXPECT_EQ(nextTrace.end()[-3], "\r\nOsiągnięto fizyczny koniec pliku "_w1250);
        ASSERT_EQ(afterNext.size(), (whole + kDocuments) * 400);
        EXPECT_EQ(afterNext.substr(0, whole * 400), reference_.substr(0, whole * 400));
        for (std::size_t i = 0; i < kDocuments; ++i) {
            std::string expected = reference_.substr(i * 400, 400);
            SetSeqNo(expected, 0, static_cast<std::int32_t>(whole + i + 1));
            EXPECT_EQ(afterNext.substr((whole + i) * 400, 400), expected) << "record " << whole + i;
        }
    }

    testing::TempDirectory root_;
    std::string reference_;
};

TEST_F(DiskFullTest, FullFileSystemCutsARecordThatIsReportedAndOverwrittenNextTime) {
    const std::string exportPath = ExportPath();
    const std::string ledger = Ledger();
    const ChildResult child = RunInChild([&](std::string& out) {
        if (!MountSmallTmpfs(ledger, kTmpfsSize)) {
            return kChildCannotSetUp;
        }
        // Leave one page free: ten records fit, the eleventh crosses into a page there is no
        // room for, and the system takes only its first 96 bytes.
        const std::string filler = ledger + "/filler";
        testing::WriteFileBytes(filler, std::string(kTmpfsSize - kPage, '\0'));
        return TwoRuns(
            exportPath, ledger, [&] { return fs::remove(filler); }, out);
    });
    if (child.exitCode == kChildCannotSetUp) {
        GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
    }
    CheckTwoRuns(child, 10, kPage - 10 * 400);
}

TEST_F(DiskFullTest, FileSizeLimitCutsARecordThatIsReportedAndOverwrittenNextTime) {
    const std::string exportPath = ExportPath();
    const std::string ledger = Ledger();
    constexpr rlim_t kLimit = 3 * 400 + 150;
    const ChildResult child = RunInChild([&](std::string& out) {
        std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return kChildCannotSetUp;
        }
        const rlim_t hard = limit.rlim_max;
        limit.rlim_cur = kLimit;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return kChildCannotSetUp;
        }
        return TwoRuns(
            exportPath, ledger,
            [&] {
                limit.rlim_cur = hard;
                return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
            },
            out);
    });
    if (child.exitCode == kChildCannotSetUp) {
        GTEST_SKIP() << "cannot limit the file size here";
    }
    CheckTwoRuns(child, 3, 150);
}

}  // namespace
}  // namespace trevo::reliability

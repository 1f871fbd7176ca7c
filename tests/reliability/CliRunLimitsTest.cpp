// The command line as a whole process against the limits and the other runs around it: a file
// size limit, and a second run or an undo of the same ledger started at the same moment as a
// re-import that skips documents booked before.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <set>

#include "engine/ledger/LedgerEntryLayout.h"
#include "engine/text/Win1250.h"
#include "testing/ProcessRunner.h"
#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/CliChild.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const std::string& win1250) {
    return text::Win1250ToUtf8(win1250);
}

class CliRunLimitsTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directory(Ledger()); }

    std::string Ledger() const { return root_.File("FIRMA1"); }
    std::string January() const { return PeriodFileName(Ledger(), 2024, 1); }
    std::string WriteExport(std::size_t documents, const std::string& name = "eksp2kap.kpm") const {
        std::string bytes;
        for (std::size_t i = 1; i <= documents; ++i) {
            bytes += Document("20240115", "D" + std::to_string(i)) + "\r\n";
        }
        const std::string path = root_.File(name);
        testing::WriteFileBytes(path, bytes);
        return path;
    }

    testing::TempDirectory root_;
};

// The limit is inherited by the program from a child of the test; SIGXFSZ keeps its default
// action there, as in a shell after `ulimit -f`.
TEST_F(CliRunLimitsTest, AFileSizeLimitIsAReportedWriteFailureNotAKill) {
    constexpr std::size_t kBefore = 99;
    constexpr rlim_t kLimit = (kBefore + 1) * 400;  // room for exactly one more record
    testing::WriteFileBytes(January(), std::string(kBefore * 400, '\0'));
    const std::string exportPath = WriteExport(5);
    const std::vector<std::string> args{"convert", exportPath, Ledger()};
    const ChildResult child = RunInChild([&](std::string& out) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return kChildCannotSetUp;
        }
        limit.rlim_cur = kLimit;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return kChildCannotSetUp;
        }
        const auto run = testing::RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
        AppendBlob(out, std::to_string(run.exitCode));
        AppendBlob(out, run.out);
        return 0;
    });
    if (child.exitCode == kChildCannotSetUp) {
        GTEST_SKIP() << "cannot limit the file size here";
    }
    ASSERT_EQ(child.exitCode, 0);
    BlobReader reader(child.output);
    const std::string exitCode = reader.Blob();
    const std::string trace = reader.Blob();
    EXPECT_EQ(exitCode, "1");
    EXPECT_NE(trace.find(Utf8(AppendFailedLine(January())) + "\n" + Utf8(CountLine(2)) + "\n" +
                         Utf8(kEndLine) + "\n"),
              std::string::npos)
        << trace;
    EXPECT_EQ(testing::ReadFileBytes(January()).size(), kLimit);
    // The run's journal was closed: undo takes the one record back.
    const auto undo = testing::RunProcess(TREVO_CLI_PATH, {"undo", Ledger()}, {"LC_ALL=C"});
    EXPECT_EQ(undo.exitCode, 0) << undo.err;
    EXPECT_EQ(testing::ReadFileBytes(January()), std::string(kBefore * 400, '\0'));
}

}  // namespace
}  // namespace trevo::reliability

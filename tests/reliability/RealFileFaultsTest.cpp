// Real faults on real files: a read-only ledger directory, a period file without write
// permission, a directory or a symbolic link where a period file should be, and the ledger
// directory or the open period file going away during a run. Permission cases run as an
// unprivileged user (as `nobody` when the tests run as root, for whom permission checks pass).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

namespace fs = std::filesystem;

// Acts once, before the line read after the run has accepted `documents` documents.
class AfterDocuments final : public RunProgress {
  public:
    AfterDocuments(std::int64_t documents, std::function<void()> act)
        : documents_(documents), act_(std::move(act)) {}
    void LineDone(std::uint64_t, std::uint64_t, std::int64_t documentCount) override {
        if (!done_ && documentCount >= documents_) {
            done_ = true;
            act_();
        }
    }

  private:
    std::int64_t documents_;
    std::function<void()> act_;
    bool done_ = false;
};

class RealFileFaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::permissions(root_.Path(), fs::perms(0755));  // others may pass through
        fs::create_directory(Ledger());
    }

    std::string Ledger() const { return root_.File("FIRMA1"); }
    std::string PeriodFile(unsigned month) const { return PeriodFileName(Ledger(), 2024, month); }
    std::string WriteExport(const std::vector<std::string>& dates) const {
        std::string bytes;
        for (std::size_t i = 0; i < dates.size(); ++i) {
            bytes += Document(dates[i], "D" + std::to_string(i + 1)) + "\r\n";
        }
        const std::string path = root_.File("eksp2kap.kpm");
        testing::WriteFileBytes(path, bytes);
        fs::permissions(path, fs::perms(0644));
        return path;
    }

    // Hands the ledger directory and everything in it to the unprivileged user.
    void GiveLedgerToRunner() const {
        if (!IsRoot()) {
            return;
        }
        const UnprivilegedUser user = Nobody();
        ASSERT_EQ(::chown(Ledger().c_str(), user.uid, user.gid), 0);
        for (const auto& entry : fs::directory_iterator(Ledger())) {
            ASSERT_EQ(::chown(entry.path().c_str(), user.uid, user.gid), 0);
        }
    }

    // A run in a child process as the unprivileged user; nothing when that user cannot be had.
    std::optional<RunRecord> RunUnprivileged(const std::string& exportPath) const {
        const ChildResult child = RunInChild([&](std::string& out) {
            if (!DropPrivileges()) {
                return kChildCannotSetUp;
            }
            const RunRecord run = RunOnce(exportPath, Ledger(), LocalFileSystem());
            AppendLines(out, run.trace);
            AppendBlob(out, std::to_string(static_cast<int>(run.result.outcome)) + " " +
                                std::to_string(run.result.documentCount));
            return 0;
        });
        if (child.exitCode != 0) {
            return std::nullopt;
        }
        BlobReader reader(child.output);
        RunRecord run;
        run.trace = reader.Lines();
        int outcome = 0;
        long long count = 0;
        std::sscanf(reader.Blob().c_str(), "%d %lld", &outcome, &count);
        run.result.outcome = static_cast<RunOutcome>(outcome);
        run.result.documentCount = count;
        return run;
    }

    static Lines Tail(const Lines& lines, std::size_t n) {
        return lines.size() < n ? lines
                                : Lines(lines.end() - static_cast<std::ptrdiff_t>(n), lines.end());
    }

    testing::TempDirectory root_;
};

TEST_F(RealFileFaultsTest, ReadOnlyLedgerDirectoryRefusesNewFilesAndKeepsExistingOnes) {
    testing::WriteFileBytes(PeriodFile(1), std::string(400, 'Z'));
    const std::string exportPath = WriteExport({"20240105", "20240106", "20240201", "20240107"});
    GiveLedgerToRunner();
    fs::permissions(Ledger(), fs::perms(0555));
    const auto run = RunUnprivileged(exportPath);
    if (!run) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }

    EXPECT_EQ(run->result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(Tail(run->trace, 4),
              (Lines{OpenFailedLine(PeriodFile(2)), kPeriodFailedLine, CountLine(3), kEndLine}));
    const std::string january = testing::ReadFileBytes(PeriodFile(1));
    ASSERT_EQ(january.size(), 1200u);  // an existing file stays writable in a read-only directory
    EXPECT_EQ(january.substr(0, 400), std::string(400, 'Z'));
    EXPECT_EQ(SeqNoAt(january, 1), 2);
    EXPECT_EQ(SeqNoAt(january, 2), 3);
    EXPECT_FALSE(fs::exists(PeriodFile(2)));
}

TEST_F(RealFileFaultsTest, PeriodFileWithoutWritePermissionIsNeverWritten) {
    const std::string exportPath = WriteExport({"20240105", "20240106"});
    const std::string before(800, 'Z');
    testing::WriteFileBytes(PeriodFile(1), before);
    const Lines refused{OpenFailedLine(PeriodFile(1)), kPeriodFailedLine, CountLine(1), kEndLine};

    // No write permission bit at all: refused by the converter itself, even to the superuser.
    fs::permissions(PeriodFile(1), fs::perms(0444));
    const RunRecord own = RunOnce(exportPath, Ledger(), LocalFileSystem());
    EXPECT_EQ(own.result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(Tail(own.trace, 4), refused);
    EXPECT_EQ(testing::ReadFileBytes(PeriodFile(1)), before);

    // Write bits for others only: the system refuses the owner.
    GiveLedgerToRunner();
    fs::permissions(PeriodFile(1), fs::perms(0066));
    const auto run = RunUnprivileged(exportPath);
    if (!run) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }
    EXPECT_EQ(run->result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(Tail(run->trace, 4), refused);
    fs::permissions(PeriodFile(1), fs::perms(0644));
    EXPECT_EQ(testing::ReadFileBytes(PeriodFile(1)), before);
}

TEST_F(RealFileFaultsTest, DirectoryInPlaceOfAPeriodFileStopsTheRunUntilItIsGone) {
    const std::string exportPath = WriteExport({"20240105", "20240201", "20240301"});
    fs::create_directory(PeriodFile(2));
    const RunRecord first = RunOnce(exportPath, Ledger(), LocalFileSystem());
    EXPECT_EQ(first.result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(Tail(first.trace, 4),
              (Lines{OpenFailedLine(PeriodFile(2)), kPeriodFailedLine, CountLine(2), kEndLine}));
    EXPECT_TRUE(fs::is_directory(PeriodFile(2)));
    EXPECT_FALSE(fs::exists(PeriodFile(3)));

    fs::remove(PeriodFile(2));
    const RunRecord second = RunOnce(exportPath, Ledger(), LocalFileSystem());
    EXPECT_EQ(second.result.outcome, RunOutcome::Completed);
    const std::string january = testing::ReadFileBytes(PeriodFile(1));
    ASSERT_EQ(january.size(), 800u);
    EXPECT_EQ(SeqNoAt(january, 1), 2);
    EXPECT_EQ(testing::ReadFileBytes(PeriodFile(2)).size(), 400u);
    EXPECT_EQ(testing::ReadFileBytes(PeriodFile(3)).size(), 400u);
}

// A link in a period file's place is never followed: its target, inside the ledger or out of
// it, is not written, and a dangling one creates nothing. The ledger directory itself may be a
// link.
TEST_F(RealFileFaultsTest, SymbolicLinkInPlaceOfAPeriodFileIsRefused) {
    const std::string exportPath = WriteExport({"20240105", "20240106"});
    fs::create_directory(root_.File("other"));
    const std::string outside = root_.File("other/file.txt");
    testing::WriteFileBytes(outside, "tail of another file");
    const Lines refused{OpenFailedLine(PeriodFile(1)), kPeriodFailedLine, CountLine(1), kEndLine};

    fs::create_symlink("../other/file.txt", PeriodFile(1));
    const RunRecord toFile = RunOnce(exportPath, Ledger(), LocalFileSystem());
    EXPECT_EQ(toFile.result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(Tail(toFile.trace, 4), refused);
    EXPECT_EQ(testing::ReadFileBytes(outside), "tail of another file");

    fs::remove(PeriodFile(1));
    fs::create_symlink("../other/new.txt", PeriodFile(1));
    const RunRecord dangling = RunOnce(exportPath, Ledger(), LocalFileSystem());
    EXPECT_EQ(Tail(dangling.trace, 4), refused);
    EXPECT_FALSE(fs::exists(root_.File("other/new.txt")));

    fs::remove(PeriodFile(1));
    const std::string linkedLedger = root_.File("linked");
    fs::create_directory_symlink("FIRMA1", linkedLedger);
    const RunRecord throughLink = RunOnce(exportPath, linkedLedger, LocalFileSystem());
    EXPECT_EQ(throughLink.result.outcome, RunOutcome::Completed);
    EXPECT_EQ(testing::ReadFileBytes(PeriodFile(1)).size(), 800u);
}

TEST_F(RealFileFaultsTest, LedgerDirectoryRemovedBetweenMonthsStopsAtTheNextOpen) {
    const std::string exportPath = WriteExport({"20240105", "20240106", "20240201"});
    AfterDocuments remove(2, [&] { fs::remove_all(Ledger()); });
    const RunRecord run = RunOnce(exportPath, Ledger(), LocalFileSystem(), &remove);
    EXPECT_EQ(run.result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(Tail(run.trace, 4),
              (Lines{OpenFailedLine(PeriodFile(2)), kPeriodFailedLine, CountLine(3), kEndLine}));
    EXPECT_FALSE(fs::exists(Ledger()));
    fs::create_directory(Ledger());  // for the fixture's cleanup
}

// A record appended to a file that no longer has a name is lost: it must be reported, not
// counted as booked.
TEST_F(RealFileFaultsTest, OpenPeriodFileThatLosesItsNameFailsTheNextAppend) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"ledger directory removed", [&] { fs::remove_all(Ledger()); }},
        {"ledger directory renamed", [&] { fs::rename(Ledger(), Ledger() + ".old"); }},
        {"period file renamed",
         [&] {
             fs::rename(PeriodFile(1), PeriodFile(1) + ".bak");
             testing::WriteFileBytes(PeriodFile(1), "");
         }},
        {"period file deleted", [&] { fs::remove(PeriodFile(1)); }},
        {"period file replaced",
         [&] {
             testing::WriteFileBytes(Ledger() + "/new", std::string(400, 'N'));
             fs::rename(Ledger() + "/new", PeriodFile(1));
         }},
    };
    const std::string exportPath = WriteExport({"20240105", "20240106", "20240107", "20240108"});
    for (const auto& [name, act] : cases) {
        SCOPED_TRACE(name);
        fs::remove_all(Ledger());
        fs::remove_all(Ledger() + ".old");
        fs::create_directory(Ledger());
        AfterDocuments fault(2, act);
        const RunRecord run = RunOnce(exportPath, Ledger(), LocalFileSystem(), &fault);
        EXPECT_EQ(run.result.outcome, RunOutcome::Stopped);
        EXPECT_EQ(Tail(run.trace, 3),
                  (Lines{AppendFailedLine(PeriodFile(1)), CountLine(3), kEndLine}));
        fs::create_directories(Ledger());
    }
}

}  // namespace
}  // namespace trevo::reliability

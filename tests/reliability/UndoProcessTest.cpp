// "trevo2kpr-cli undo" as a whole process against real files: its report that cannot be
// written, a ledger directory it may not change, a file-size limit, journal numbers beyond six
// digits, and a run killed part way whose journal is set aside.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "testing/ProcessRunner.h"
#include "tests/reliability/CliChild.h"
#include "tests/reliability/LedgerRun.h"

namespace trevo::reliability {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class UndoProcessTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directory(Ledger()); }

    std::string Ledger() const { return root_.File("FIRMA1"); }
    std::string Period(const char* name) const { return Ledger() + "/" + name; }
    std::string Folder() const { return Ledger() + "/trevo2KPR.dziennik"; }
    std::string Export(const std::string& date, std::size_t documents,
                       const std::string& name = "eksp2kap.kpm") const {
        std::string bytes;
        for (std::size_t i = 1; i <= documents; ++i) {
            bytes += Document(date, "D" + std::to_string(i)) + "\r\n";
        }
        WriteFileBytes(root_.File(name), bytes);
        return root_.File(name);
    }
    testing::ProcessResult Cli(const std::vector<std::string>& args,
                               const std::string& stdoutPath = {}) const {
        return testing::RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"}, stdoutPath);
    }
    // One run: October had a record and is cut back by undo; November is made by the run and
    // removed by undo.
    void ConvertTwoMonths() {
        WriteFileBytes(Period("2024ORMEK.10"), std::string(400, 'p'));
        before_ = Files();
        const std::string october = ReadFileBytes(Export("20241015", 3));
        WriteFileBytes(root_.File("both.kpm"), october + ReadFileBytes(Export("20241105", 2)));
        ASSERT_EQ(Cli({"convert", root_.File("both.kpm"), Ledger()}).exitCode, 0);
        after_ = Files();
    }
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(Ledger())) {
            if (entry.is_regular_file()) {
                files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
            }
        }
        return files;
    }

    testing::TempDirectory root_;
    std::map<std::string, std::string> before_;
    std::map<std::string, std::string> after_;
};

// The status says whether the files were changed: a report lost after the undo is 4, never 1
// (a caller retrying on 1 would undo one run too many), nor death by SIGPIPE.
TEST_F(UndoProcessTest, ReportThatCannotBeWrittenAfterUndoingHasItsOwnStatus) {
    ConvertTwoMonths();
    const auto full = Cli({"undo", Ledger()}, "/dev/full");
    EXPECT_EQ(full.exitCode, 4);
    EXPECT_NE(full.err.find("wykonano, ale nie udało się wypisać"), std::string::npos);
    EXPECT_EQ(Files(), before_);

    ASSERT_EQ(Cli({"convert", root_.File("both.kpm"), Ledger()}).exitCode, 0);
    EXPECT_EQ(Cli({"undo", "--check", Ledger()}, "/dev/full").exitCode, 1);  // nothing changed
    CliOptions options;
    options.out = Stdout::PipeClosed;
    CliChild closed({"undo", Ledger()}, options);
    EXPECT_EQ(closed.Wait(), 4);
    EXPECT_EQ(Files(), before_);
}

// Everything that undo will change is checked first: a directory it may not remove a name
// from is refused before any file is cut, and undo works once the directory may be changed.
TEST_F(UndoProcessTest, LedgerDirectoryMadeReadOnlyIsRefusedBeforeAnythingChanges) {
    ConvertTwoMonths();
    std::vector<std::string> asUser;  // the superuser may change any directory
    if (::geteuid() == 0) {
        if (!fs::exists("/usr/bin/setpriv")) {
            GTEST_SKIP() << "no setpriv to run undo as an ordinary user";
        }
        for (const auto& entry : fs::recursive_directory_iterator(root_.Path())) {
            ASSERT_EQ(::lchown(entry.path().c_str(), 65534, 65534), 0);
        }
        ASSERT_EQ(::chown(root_.Path().c_str(), 65534, 65534), 0);
        asUser = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                  TREVO_CLI_PATH};
    }
    const auto run = [&](std::vector<std::string> args) {
        if (asUser.empty()) {
            return Cli(args);
        }
        std::vector<std::string> all(asUser.begin() + 1, asUser.end());
        all.insert(all.end(), args.begin(), args.end());
        return testing::RunProcess(asUser.front(), all, {"LC_ALL=C"});
    };
    fs::permissions(Ledger(), fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    const auto check = run({"undo", "--check", Ledger()});
    EXPECT_EQ(check.exitCode, 1);
    const auto refused = run({"undo", Ledger()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("2024ORMEK.11"), std::string::npos) << refused.err;
    EXPECT_EQ(Files(), after_);
    fs::permissions(Ledger(), fs::perms::owner_write, fs::perm_options::add);
    const auto done = run({"undo", Ledger()});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(Files(), before_);
}

// With a file-size limit the bytes undo keeps for going back cannot be written: a reported
// failure with nothing changed, not death by SIGXFSZ.
TEST_F(UndoProcessTest, FileSizeLimitMakesUndoFailCleanly) {
    ConvertTwoMonths();
    const auto limited = testing::RunProcess(
        "/bin/bash", {"-c", "ulimit -f 1; exec \"$0\" undo \"$1\"", TREVO_CLI_PATH, Ledger()});
    EXPECT_EQ(limited.exitCode, 1) << limited.err;
    EXPECT_NE(limited.err.find("nic nie zmieniono"), std::string::npos) << limited.err;
    EXPECT_EQ(Files(), after_);
    EXPECT_EQ(Cli({"undo", Ledger()}).exitCode, 0);
    EXPECT_EQ(Files(), before_);
}

// After journal 999999 comes 1000000, and undo takes back the newest run, not an older one.
TEST_F(UndoProcessTest, JournalNumbersGoOnPastSixDigits) {
    ASSERT_EQ(Cli({"convert", Export("20241015", 1), Ledger()}).exitCode, 0);
    const auto afterFirst = Files();
    for (const auto& entry : fs::directory_iterator(Folder())) {
        fs::rename(entry.path(), Folder() + "/999999");
    }
    ASSERT_EQ(Cli({"convert", Export("20241016", 2), Ledger()}).exitCode, 0);
    EXPECT_TRUE(fs::exists(Folder() + "/0001000000"));
    EXPECT_EQ(Cli({"undo", Ledger()}).exitCode, 0);
    EXPECT_EQ(Files(), afterFirst);
    EXPECT_EQ(Cli({"undo", Ledger()}).exitCode, 0);
    EXPECT_TRUE(Files().empty());
}

// A run killed part way leaves a journal without its end: undo says what happened and the way
// forward, --discard-unfinished sets it aside without touching a period file, and the run
// before it can then be undone.
TEST_F(UndoProcessTest, KilledRunIsSetAsideAndTheRunBeforeItUndone) {
    ASSERT_EQ(Cli({"convert", Export("20241201", 2, "grudzien.kpm"), Ledger()}).exitCode, 0);
    CliChild killed({"convert", Export("20240115", 3000), Ledger()}, CliOptions{});
    ASSERT_TRUE(killed.WaitUntilOutputBlocks());
    ::kill(killed.Pid(), SIGKILL);
    EXPECT_EQ(killed.Wait(), 128 + SIGKILL);
    const auto afterKill = Files();
    ASSERT_GT(afterKill.at("2024ORMEK.1").size(), 0u);

    const auto refused = Cli({"undo", Ledger()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("nie został zakończony"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("undo --discard-unfinished"), std::string::npos);
    const auto setAside = Cli({"undo", "--discard-unfinished", Ledger()});
    EXPECT_EQ(setAside.exitCode, 0) << setAside.err;
    EXPECT_NE(setAside.out.find("Odłożono dziennik"), std::string::npos);
    EXPECT_EQ(Files(), afterKill);
    EXPECT_EQ(Cli({"undo", "--discard-unfinished", Ledger()}).exitCode, 1);  // a sound one

    const auto undone = Cli({"undo", Ledger()});
    EXPECT_EQ(undone.exitCode, 0) << undone.err;
    EXPECT_FALSE(fs::exists(Period("2024ORMEK.12")));
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.1")), afterKill.at("2024ORMEK.1"));
}

}  // namespace
}  // namespace trevo::reliability

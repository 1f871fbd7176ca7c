// The run journal and undo on real files: one run and two undone in turn, a part-record the run
// overwrote put back, files the run created removed, and every refusal leaving every file as it
// was: another writer after the run, a changed record, a lock held by another run, a journal
// that is damaged or of a run that did not finish.

#ifdef _WIN32
#include <windows.h>

#include "engine/files/WindowsPath.h"
#include "testing/ProcessRunner.h"
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>
#include <xxhash.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "engine/exportfile/ExportColumns.h"
#include "engine/journal/JournalFormat.h"
#include "engine/journal/RunJournal.h"
#include "engine/journal/UndoLastRun.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/run/ConversionRun.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/FaultInjectingFileSystem.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

namespace col = export_columns;
using testing::ReadFileBytes;
using testing::WriteFileBytes;
using Status = UndoReport::Status;
using Snapshot = std::map<std::string, std::string>;

journal::Digest DigestOf(std::string_view bytes) {
    const XXH128_hash_t digest = XXH3_128bits(bytes.data(), bytes.size());
    return {digest.low64, digest.high64};
}

class UndoTest : public ::testing::Test {
  protected:
    RunResult Run(const std::string& exportBytes, FileSystem& fileSystem = LocalFileSystem()) {
        WriteFileBytes(exports_.File("eksp2kap.kpm"), exportBytes);
        RunInputs inputs;
        inputs.exportPath = exports_.File("eksp2kap.kpm");
        inputs.ledgerDir = Dir();
        RunJournal journal(fileSystem, Dir(), inputs.exportPath, clock_.Now());
        RunServices services{trace_, fileSystem, clock_, money_};
        services.journal = &journal;
        const RunResult result = RunConversion(inputs, services);
        journalKept_ = journal.Finish();
        return result;
    }
    UndoReport Undo(bool check = false, FileSystem& fileSystem = LocalFileSystem()) {
        return UndoLastRun(fileSystem, Dir(), check);
    }
    std::string Dir() const { return ledger_.Path().string(); }
    std::string File(const char* name) const { return ledger_.File(name); }
    // Every file of the ledger directory but the journal folder, with its bytes.
    Snapshot Files() const {
        Snapshot files;
        for (const auto& entry : std::filesystem::directory_iterator(ledger_.Path())) {
            if (entry.is_regular_file()) {
                files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
            }
        }
        return files;
    }
    std::string JournalPath(const std::string& name) const {
        return (ledger_.Path() / std::string(journal::kDirectoryName) / name).string();
    }
    // The ledger directory set to `files` and its journal folder to one journal.
    void Restore(const Snapshot& files, const std::string& journalBytes) {
        for (const auto& entry : std::filesystem::directory_iterator(ledger_.Path())) {
            if (entry.is_regular_file()) {
                std::filesystem::remove(entry.path());
            }
        }
        for (const auto& [name, bytes] : files) {
            WriteFileBytes(File(name.c_str()), bytes);
        }
        const auto folder = ledger_.Path() / std::string(journal::kDirectoryName);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        WriteFileBytes(JournalPath("0000000001"), journalBytes);
    }
    std::vector<std::string> FolderNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(
                 ledger_.Path() / std::string(journal::kDirectoryName))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::size_t Journals() const {
        const auto dir = ledger_.Path() / std::string(journal::kDirectoryName);
        if (!std::filesystem::exists(dir)) {
            return 0;
        }
        const auto it = std::filesystem::directory_iterator(dir);
        return static_cast<std::size_t>(std::distance(begin(it), end(it)));
    }

    testing::TempDirectory exports_;
    testing::TempDirectory ledger_;
    testing::MemoryTraceSink trace_;
    testing::FakeClock clock_;
    CurrencyFormat money_ = CurrencyFormat::Polish();
    bool journalKept_ = false;
};

TEST_F(UndoTest, TwoRunsAreUndoneOneAfterTheOtherByteForByte) {
    WriteFileBytes(File("2024ORMEK.11"), std::string(800, 'k'));  // two records of the ledger
    const Snapshot initial = Files();
    Run(testing::BookableDocument("20241105", "FV 1") +
        testing::BookableDocument("20241201", "FV 2"));
    ASSERT_TRUE(journalKept_);
    const Snapshot afterFirst = Files();
    Run(testing::BookableDocument("20241106", "FV 3") +
        testing::BookableDocument("20250101", "FV 4") +
        testing::BookableDocument("20241107", "FV 5"));
    EXPECT_EQ(Journals(), 2u);

    const Snapshot afterSecond = Files();
    const UndoReport check = Undo(true);
    EXPECT_EQ(check.status, Status::Done);
    EXPECT_EQ(check.steps.size(), 2u);  // 2024ORMEK.11 and 2025ORMEK.1
    EXPECT_EQ(Journals(), 2u);
    EXPECT_EQ(Files(), afterSecond);  // checking changed nothing

    const UndoReport second = Undo();
    ASSERT_EQ(second.status, Status::Done) << second.problem;
    EXPECT_EQ(second.exportPath, exports_.File("eksp2kap.kpm"));
    ASSERT_EQ(second.steps.size(), 2u);
    EXPECT_EQ(second.steps[0].fileName, "2024ORMEK.11");
    EXPECT_EQ(second.steps[0].recordsRemoved, 2u);
    EXPECT_EQ(second.steps[0].sizeBefore, 1200u);
    EXPECT_TRUE(second.steps[1].remove);
    EXPECT_EQ(Files(), afterFirst);

    const UndoReport first = Undo();
    ASSERT_EQ(first.status, Status::Done) << first.problem;
    EXPECT_EQ(Files(), initial);  // 2024ORMEK.12, created by the first run, is gone
    EXPECT_EQ(Journals(), 0u);
    EXPECT_EQ(Undo().status, Status::NothingToUndo);
}

TEST_F(UndoTest, PartRecordTheRunOverwroteIsPutBack) {
    const std::string part = std::string(400, 'a') + "stray bytes of a cut record";
    WriteFileBytes(File("2024ORMEK.11"), part);
    Run(testing::BookableDocument("20241105", "FV 1") +
        testing::BookableDocument("20241106", "FV 2"));
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), 1200u);
    const UndoReport report = Undo();
    ASSERT_EQ(report.status, Status::Done) << report.problem;
    EXPECT_EQ(report.steps[0].bytesRestored, part.size() - 400);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")), part);
}

TEST_F(UndoTest, AnotherWriterAfterTheRunMakesUndoRefuseAndChangeNothing) {
    Run(testing::BookableDocument("20241105", "FV 1") +
        testing::BookableDocument("20241201", "FV 2"));
    // The ledger program books one more record into December after the run.
    WriteFileBytes(File("2024ORMEK.12"),
                   ReadFileBytes(File("2024ORMEK.12")) + std::string(400, 'L'));
    const Snapshot before = Files();
    const UndoReport report = Undo();
    EXPECT_EQ(report.status, Status::Refused);
    EXPECT_NE(report.problem.find("2024ORMEK.12"), std::string::npos);
    EXPECT_TRUE(report.steps.empty());
    EXPECT_EQ(Files(), before);  // November, which could be undone, is untouched as well
    EXPECT_EQ(Journals(), 1u);
}

TEST_F(UndoTest, ChangedRecordOrVanishedFileIsRefused) {
    Run(testing::BookableDocument("20241105", "FV 1"));
    std::string bytes = ReadFileBytes(File("2024ORMEK.11"));
    bytes[40] ^= 1;
    WriteFileBytes(File("2024ORMEK.11"), bytes);
    EXPECT_EQ(Undo().status, Status::Refused);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")), bytes);

    std::filesystem::remove(File("2024ORMEK.11"));
    EXPECT_EQ(Undo().status, Status::Refused);
}

// The C++ library for Windows makes no symbolic links, nor does Windows without the privilege:
// the Windows file layer's own test tries the system's call.
#define SKIP_WITHOUT_LINK(link)                                                       \
    if (!std::filesystem::is_symlink(link)) {                                         \
        GTEST_SKIP() << "this system made no symbolic link: " << linkError.message(); \
    }

TEST_F(UndoTest, SymbolicLinkInThePlaceOfAPeriodFileIsNotFollowed) {
    Run(testing::BookableDocument("20241105", "FV 1"));
    const std::string target = exports_.File("elsewhere");
    std::filesystem::rename(File("2024ORMEK.11"), target);
    std::error_code linkError;
    std::filesystem::create_symlink(target, File("2024ORMEK.11"), linkError);
    SKIP_WITHOUT_LINK(File("2024ORMEK.11"));
    EXPECT_EQ(Undo().status, Status::Refused);
    EXPECT_EQ(ReadFileBytes(target).size(), 400u);
}

// Never written, even by the superuser the tests may run as: read-only is the user's word.
TEST_F(UndoTest, ReadOnlyPeriodFileIsRefusedAndLeftAlone) {
    Run(testing::BookableDocument("20241105", "FV 1"));
    std::filesystem::permissions(File("2024ORMEK.11"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read);
    EXPECT_EQ(Undo().status, Status::Refused);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), 400u);
}

TEST_F(UndoTest, PeriodFileLockedByAnotherRunIsRefused) {
    Run(testing::BookableDocument("20241105", "FV 1"));
    // Another run holds the lock on the file, as a writing run does while the file is open.
#ifdef _WIN32
    auto held = LocalFileSystem().LockRecordFile(File("2024ORMEK.11"));
    ASSERT_TRUE(held.ok());
#else
    const int fd = ::open(File("2024ORMEK.11").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &lock), 0);
#endif
    const UndoReport report = Undo();
    EXPECT_EQ(report.status, Status::Refused);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), 400u);
#ifdef _WIN32
    held->reset();
#else
    ::close(fd);
#endif
    EXPECT_EQ(Undo().status, Status::Done);
    EXPECT_FALSE(std::filesystem::exists(File("2024ORMEK.11")));
}

TEST_F(UndoTest, JournalOfAnUnfinishedRunOrADamagedOneIsRefused) {
    Run(testing::BookableDocument("20241105", "FV 1"));
    const std::string path = JournalPath("0000000001");
    const std::string whole = ReadFileBytes(path);
    for (std::size_t cut = 1; cut < whole.size(); ++cut) {
        WriteFileBytes(path, whole.substr(0, whole.size() - cut));
        EXPECT_EQ(Undo().status, Status::Refused) << cut;
    }
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), 400u);
}

TEST_F(UndoTest, JournalNamingAFileOutsideTheDirectoryIsRefused) {
    const std::string victim = exports_.File("2024ORMEK.11");
    WriteFileBytes(victim, std::string(800, 'v'));
    const std::string name = "../" + exports_.Path().filename().string() + "/2024ORMEK.11";
    std::string bytes;
    journal::AppendHeader(bytes, "x", {});
    journal::AppendOpened(bytes, name, true, 400);
    journal::AppendedFile result;
    result.fileName = name;
    result.sizeBefore = result.firstOffset = 400;
    result.sizeAfter = 800;
    result.digest = DigestOf(std::string(400, 'v'));
    journal::AppendFileEntry(bytes, result);
    journal::AppendEnd(bytes);
    std::filesystem::create_directories(ledger_.Path() / std::string(journal::kDirectoryName));
    WriteFileBytes(JournalPath("0000000001"), bytes);
    EXPECT_EQ(Undo().status, Status::Refused);
    EXPECT_EQ(ReadFileBytes(victim).size(), 800u);
}

TEST_F(UndoTest, ShortWriteThatStoppedTheRunIsTakenBackToo) {
    WriteFileBytes(File("2024ORMEK.11"), std::string(400, 'k'));
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    // Writes: the journal's opening block, the first record, the second, which falls short.
    faults.FailAt(testing::FileOperation::Write, 3, 123);
    EXPECT_EQ(Run(testing::BookableDocument("20241105", "FV 1") +
                      testing::BookableDocument("20241106", "FV 2"),
                  faults)
                  .outcome,
              RunOutcome::Stopped);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), 800u + 123u);
    ASSERT_EQ(Undo().status, Status::Done);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")), std::string(400, 'k'));
}

TEST_F(UndoTest, JournalThatCannotBeWrittenIsRemovedAndTheRunStillBooks) {
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(testing::FileOperation::Write, 1);  // the journal's first block
    Run(testing::BookableDocument("20241105", "FV 1"), faults);
    EXPECT_FALSE(journalKept_);
    EXPECT_EQ(Journals(), 0u);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), 400u);
    EXPECT_EQ(Undo().status, Status::NothingToUndo);
}

TEST_F(UndoTest, LinkInThePlaceOfTheJournalFolderIsNotWrittenThrough) {
    const auto elsewhere = exports_.Path() / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    const auto folder = ledger_.Path() / std::string(journal::kDirectoryName);
    std::error_code linkError;
    std::filesystem::create_directory_symlink(elsewhere, folder, linkError);
    SKIP_WITHOUT_LINK(folder);
    Run(testing::BookableDocument("20241105", "FV 1"));
    EXPECT_FALSE(journalKept_);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), 400u);  // booked all the same
}

TEST_F(UndoTest, OnlyTheMostRecentRunsKeepTheirJournals) {
    for (std::size_t i = 0; i < journal::kRunsKept + 3; ++i) {
        Run(testing::BookableDocument("20241105", "FV 1"));
    }
    EXPECT_EQ(Journals(), journal::kRunsKept);
    EXPECT_EQ(Undo().status, Status::Done);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")).size(), (journal::kRunsKept + 2) * 400u);
}

// A run over three files: November had two records and part of a third, December is created,
// January had one record.
class UndoOfThreeFilesTest : public UndoTest {
  protected:
    void SetUp() override {
        WriteFileBytes(File("2024ORMEK.11"), std::string(800, 'n') + "part of a record");
        WriteFileBytes(File("2025ORMEK.1"), std::string(400, 'j'));
        initial_ = Files();
        Run(testing::BookableDocument("20241105", "FV 1") +
            testing::BookableDocument("20241201", "FV 2") +
            testing::BookableDocument("20250102", "FV 3") +
            testing::BookableDocument("20241106", "FV 4"));
        ASSERT_TRUE(journalKept_);
        afterRun_ = Files();
        journal_ = ReadFileBytes(JournalPath("0000000001"));
    }
    Snapshot initial_;
    Snapshot afterRun_;
    std::string journal_;
};

// Every part of the journal is checked: no damage makes undo write anything but the files as
// they were before the run.
TEST_F(UndoOfThreeFilesTest, EveryByteOfTheJournalFlippedIsRefusedOrUndoneExactly) {
    std::size_t refused = 0;
    for (std::size_t at = 0; at < journal_.size(); ++at) {
        for (const unsigned char mask : {0x01, 0xFF}) {
            std::string damaged = journal_;
            damaged[at] = static_cast<char>(damaged[at] ^ mask);
            Restore(afterRun_, damaged);
            const UndoReport report = Undo();
            if (report.status == Status::Done) {
                ASSERT_EQ(Files(), initial_) << at;
            } else {
                ++refused;
                ASSERT_EQ(report.status, Status::Refused) << at;
                ASSERT_EQ(Files(), afterRun_) << at;
                ASSERT_EQ(FolderNames(), std::vector<std::string>{"0000000001"}) << at;
            }
        }
    }
    EXPECT_EQ(refused, 2 * journal_.size());
}

// A change that fails part way is put back: the files are as the run left them, the journal is
// there, and the next undo does all of it.
TEST_F(UndoOfThreeFilesTest, ChangeFailingPartWayIsPutBackAndUndoCanBeRepeated) {
    int failures = 0;
    for (const auto operation : {testing::FileOperation::Truncate, testing::FileOperation::Rename,
                                 testing::FileOperation::Write, testing::FileOperation::Open}) {
        for (int nth = 1;; ++nth) {
            Restore(afterRun_, journal_);
            testing::FaultInjectingFileSystem faults(LocalFileSystem());
            faults.FailAt(operation, nth);
            const UndoReport report = Undo(false, faults);
            if (faults.Done(operation) < nth) {
                ASSERT_EQ(report.status, Status::Done) << report.problem;
                break;
            }
            ++failures;
            if (report.status == Status::Done) {
                continue;  // a failure after the files were put back: a warning only
            }
            ASSERT_TRUE(report.status == Status::RolledBack || report.status == Status::Refused)
                << static_cast<int>(operation) << " " << nth;
            EXPECT_EQ(Files(), afterRun_) << static_cast<int>(operation) << " " << nth;
            EXPECT_EQ(FolderNames(), std::vector<std::string>{"0000000001"});
            ASSERT_EQ(Undo().status, Status::Done);
            EXPECT_EQ(Files(), initial_);
        }
    }
    EXPECT_GE(failures, 6);
}

// The journal kept after the files were put back: the mark beside it makes the next undo only
// finish the job, not refuse it.
TEST_F(UndoOfThreeFilesTest, JournalThatCouldNotBeRemovedIsFinishedByTheNextUndo) {
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(testing::FileOperation::Remove, 2);  // the aside file, then the journal
    const UndoReport first = Undo(false, faults);
    ASSERT_EQ(first.status, Status::Done);
    EXPECT_FALSE(first.warning.empty());
    EXPECT_EQ(Files(), initial_);
    const UndoReport second = Undo();
    ASSERT_EQ(second.status, Status::Done) << second.problem;
    EXPECT_TRUE(second.resumed);
    EXPECT_EQ(Files(), initial_);
    EXPECT_TRUE(FolderNames().empty());
    EXPECT_EQ(Undo().status, Status::NothingToUndo);
}

#ifdef _WIN32
// Windows has no fork: the undo to be killed runs in a child, this test program started again
// for the one test below, which does nothing unless the parent named the directory and the
// fault.
constexpr const char* kChildDirectory = "TREVO_UNDO_CHILD_DIRECTORY";
constexpr const char* kChildOperation = "TREVO_UNDO_CHILD_OPERATION";
constexpr const char* kChildNth = "TREVO_UNDO_CHILD_NTH";

TEST(UndoChild, UndoUntilTheParentsFaultKillsIt) {
    const char* directory = std::getenv(kChildDirectory);
    if (directory == nullptr) {
        GTEST_SKIP() << "the child of UndoKilledAtAnyStepIsFinishedByTheNext only";
    }
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.KillBefore(static_cast<testing::FileOperation>(std::atoi(std::getenv(kChildOperation))),
                      std::atoi(std::getenv(kChildNth)));
    std::exit(UndoLastRun(faults, directory, false).status == Status::Done ? 0 : 1);
}
#endif

// Undo in a process of its own, killed (as by SIGKILL) just before the nth `operation`: true
// when it was killed, false when it finished first (and then with the undo done).
bool UndoKilledBefore(const std::string& directory, testing::FileOperation operation, int nth) {
#ifdef _WIN32
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_TRUE(length > 0 && length < MAX_PATH);
    const testing::ProcessResult child = testing::RunProcess(
        windows::ToUtf8({self, length}), {"--gtest_filter=UndoChild.*"},
        {std::string(kChildDirectory) + "=" + directory,
         std::string(kChildOperation) + "=" + std::to_string(static_cast<int>(operation)),
         std::string(kChildNth) + "=" + std::to_string(nth)});
    EXPECT_TRUE(child.exitCode == 0 || child.exitCode == 128 + 9) << child.exitCode << child.out;
    return child.exitCode != 0;
#else
    const pid_t child = ::fork();
    if (child == 0) {
        testing::FaultInjectingFileSystem faults(LocalFileSystem());
        faults.KillBefore(operation, nth);
        ::_exit(UndoLastRun(faults, directory, false).status == Status::Done ? 0 : 1);
    }
    int status = 0;
    EXPECT_GE(child, 0);
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status)) {
        EXPECT_EQ(WEXITSTATUS(status), 0);
        return false;
    }
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    return true;
#endif
}

// An undo killed at any point leaves what the next undo finishes.
TEST_F(UndoOfThreeFilesTest, UndoKilledAtAnyStepIsFinishedByTheNext) {
    int kills = 0;
    for (const auto operation : {testing::FileOperation::Open, testing::FileOperation::Write,
                                 testing::FileOperation::Truncate, testing::FileOperation::Rename,
                                 testing::FileOperation::Remove, testing::FileOperation::Sync}) {
        for (int nth = 1;; ++nth) {
            Restore(afterRun_, journal_);
            if (!UndoKilledBefore(Dir(), operation, nth)) {
                ASSERT_FALSE(HasFailure());
                EXPECT_EQ(Files(), initial_);
                break;
            }
            ASSERT_FALSE(HasFailure());
            ++kills;
            const UndoReport next = Undo();
            ASSERT_TRUE(next.status == Status::Done || next.status == Status::NothingToUndo)
                << static_cast<int>(operation) << " " << nth << ": " << next.problem;
            EXPECT_EQ(Files(), initial_) << static_cast<int>(operation) << " " << nth;
            EXPECT_EQ(Undo().status, Status::NothingToUndo);
        }
    }
    EXPECT_GE(kills, 8);
}

TEST_F(UndoOfThreeFilesTest, NameTheCreatedFileIsRenamedToFirstMustBeFree) {
    WriteFileBytes(File("2024ORMEK.12.cofniety"), "left by someone");
    afterRun_ = Files();
    const UndoReport report = Undo();
    EXPECT_EQ(report.status, Status::Refused);
    EXPECT_NE(report.problem.find("2024ORMEK.12.cofniety"), std::string::npos);
    EXPECT_EQ(Files(), afterRun_);
}

TEST_F(UndoOfThreeFilesTest, LinkedJournalFolderIsNotFollowed) {
    const auto folder = ledger_.Path() / std::string(journal::kDirectoryName);
    const auto elsewhere = exports_.Path() / "elsewhere";
    std::filesystem::rename(folder, elsewhere);
    std::error_code linkError;
    std::filesystem::create_directory_symlink(elsewhere, folder, linkError);
    SKIP_WITHOUT_LINK(folder);
    const UndoReport report = Undo();
    EXPECT_EQ(report.status, Status::Refused);
    EXPECT_EQ(Files(), afterRun_);
    EXPECT_TRUE(std::filesystem::exists(elsewhere / "0000000001"));
    EXPECT_EQ(DiscardUnfinishedRun(LocalFileSystem(), Dir()).status, Status::Refused);
    EXPECT_TRUE(std::filesystem::exists(elsewhere / "0000000001"));
}

// A run that did not finish blocks undo until its journal is set aside, which changes no
// period file; the run before it is then undone.
TEST_F(UndoTest, UnfinishedJournalSetAsideLetsTheRunBeforeItBeUndone) {
    Run(testing::BookableDocument("20241105", "FV 1"));
    EXPECT_EQ(DiscardUnfinishedRun(LocalFileSystem(), Dir()).status, Status::Refused);
    Run(testing::BookableDocument("20241201", "FV 2"));
    const std::string second = JournalPath("0000000002");
    const std::string whole = ReadFileBytes(second);
    WriteFileBytes(second, whole.substr(0, whole.size() - 13));  // no end mark: killed
    const Snapshot afterSecond = Files();

    const UndoReport refused = Undo();
    EXPECT_EQ(refused.status, Status::Refused);
    EXPECT_NE(refused.problem.find("--discard-unfinished"), std::string::npos);
    const UndoReport setAside = DiscardUnfinishedRun(LocalFileSystem(), Dir());
    ASSERT_EQ(setAside.status, Status::Done) << setAside.problem;
    EXPECT_EQ(setAside.setAsideAs, JournalPath("0000000002.odlozony"));
    EXPECT_EQ(Files(), afterSecond);

    const UndoReport first = Undo();
    ASSERT_EQ(first.status, Status::Done) << first.problem;
    EXPECT_FALSE(std::filesystem::exists(File("2024ORMEK.11")));
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.12")), afterSecond.at("2024ORMEK.12"));
    EXPECT_EQ(Undo().status, Status::NothingToUndo);
    // A new run never takes the number of the journal set aside.
    Run(testing::BookableDocument("20241105", "FV 3"));
    EXPECT_TRUE(std::filesystem::exists(JournalPath("0000000003")));
}

// Another writer's record between two of the run's appends, or between two of its openings
// of a file, is told in the journal, and undo refuses such a file.
TEST_F(UndoTest, AppendsInterleavedWithAnotherWritersAreRefused) {
    const std::string record(400, 'r');
    const std::string foreign(400, 'x');
    WriteFileBytes(File("2024ORMEK.11"), record + foreign + record);
    WriteFileBytes(File("2024ORMEK.12"), record + foreign);
    {
        RunJournal journal(LocalFileSystem(), Dir(), "e", {});
        journal.PeriodOpened(File("2024ORMEK.11"), false, 0);
        journal.RecordWritten(File("2024ORMEK.11"), 0, 0, {}, record);
        journal.RecordWritten(File("2024ORMEK.11"), 800, 800, {}, record);
        journal.PeriodOpened(File("2024ORMEK.12"), false, 0);
        journal.RecordWritten(File("2024ORMEK.12"), 0, 0, {}, record);
        journal.PeriodOpened(File("2024ORMEK.12"), true, 800);
        ASSERT_TRUE(journal.Finish());
    }
    const journal::Journal parsed = journal::ParseJournal(ReadFileBytes(JournalPath("0000000001")));
    ASSERT_EQ(parsed.files.size(), 2u);
    EXPECT_TRUE(parsed.files[0].interleaved);
    EXPECT_TRUE(parsed.files[1].interleaved);
    const Snapshot before = Files();
    const UndoReport report = Undo();
    EXPECT_EQ(report.status, Status::Refused);
    EXPECT_NE(report.problem.find("2024ORMEK.11"), std::string::npos);
    EXPECT_EQ(Files(), before);
}

// A journal of the previous format has no checks: refused with the way forward, and set aside
// like an unfinished one.
TEST_F(UndoTest, JournalOfThePreviousFormatIsRefusedAndCanBeSetAside) {
    WriteFileBytes(File("2024ORMEK.11"), std::string(800, 'k'));
    std::filesystem::create_directories(ledger_.Path() / std::string(journal::kDirectoryName));
    WriteFileBytes(JournalPath("000001"), "T2KPRJ1\n\x01\x00x" + std::string(7, '\0') + "E");
    const UndoReport refused = Undo();
    EXPECT_EQ(refused.status, Status::Refused);
    EXPECT_NE(refused.problem.find("poprzedniej wersji"), std::string::npos);
    EXPECT_NE(refused.problem.find("--discard-unfinished"), std::string::npos);
    EXPECT_EQ(DiscardUnfinishedRun(LocalFileSystem(), Dir()).status, Status::Done);
    EXPECT_EQ(Undo().status, Status::NothingToUndo);
    EXPECT_EQ(ReadFileBytes(File("2024ORMEK.11")), std::string(800, 'k'));
}

TEST(JournalFormat, RecordsReadBackAsWrittenAndEveryCutOrExtraByteIsSeen) {
    std::string bytes;
    journal::AppendHeader(bytes, "C:\\dane\\eksp2kap.kpm", {2026, 12, 8, 10, 11, 12});
    journal::AppendOpened(bytes, "2024ORMEK.11", false, 0);
    journal::AppendedFile result;
    result.fileName = "2024ORMEK.11";
    result.sizeBefore = 410;
    result.firstOffset = 400;
    result.sizeAfter = 1200;
    result.records = 2;
    result.overwritten = std::string(10, '\0');
    result.digest = {0x0123456789ABCDEFull, 0xFEDCBA9876543210ull};
    journal::AppendFileEntry(bytes, result);
    journal::AppendOpened(bytes, "2024ORMEK.12", true, 800);
    journal::AppendEnd(bytes);
    const journal::Journal parsed = journal::ParseJournal(bytes);
    ASSERT_EQ(parsed.state, journal::JournalState::Ended);
    EXPECT_EQ(parsed.exportPath, "C:\\dane\\eksp2kap.kpm");
    EXPECT_EQ(parsed.started.minute, 11);
    EXPECT_EQ(parsed.fileOrder, (std::vector<std::string>{"2024ORMEK.11", "2024ORMEK.12"}));
    ASSERT_EQ(parsed.files.size(), 1u);
    EXPECT_EQ(parsed.files[0].sizeBefore, 410u);
    EXPECT_EQ(parsed.files[0].sizeAfter, 1200u);
    EXPECT_EQ(parsed.files[0].records, 2u);
    EXPECT_EQ(parsed.files[0].overwritten.size(), 10u);
    EXPECT_EQ(parsed.files[0].digest, result.digest);
    EXPECT_EQ(parsed.opened[1].sizeAtOpen, 800u);
    for (std::size_t cut = 0; cut + 1 < bytes.size(); ++cut) {
        EXPECT_NE(journal::ParseJournal(std::string_view(bytes).substr(0, cut)).state,
                  journal::JournalState::Ended)
            << cut;
    }
    EXPECT_EQ(journal::ParseJournal(bytes + "E").state, journal::JournalState::Damaged);
    EXPECT_EQ(journal::ParseJournal("T2KPRJ1\nrest").state, journal::JournalState::OldFormat);
}

TEST(JournalFormat, EntryFramingByteForByte) {
    std::string bytes;
    journal::AppendEnd(bytes);
    ASSERT_EQ(bytes.size(),
              journal::kEntryKindSize + journal::kEntryLengthSize + journal::kEntryChecksumSize);
    EXPECT_EQ(bytes.substr(0, 5), std::string("E\0\0\0\0", 5));
    const std::uint64_t checksum = XXH3_64bits(bytes.data(), 5);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(bytes[5 + i]), (checksum >> (8 * i)) & 0xFF) << i;
    }
}

TEST(JournalFormat, NumbersAreTenDigitsAndSixDigitNamesReadByValue) {
    EXPECT_EQ(journal::JournalFileName(1), "0000000001");
    EXPECT_EQ(journal::JournalFileName(1000000), "0001000000");
    EXPECT_EQ(journal::JournalNumber("000042"), 42u);
    EXPECT_EQ(journal::JournalNumber("999999"), 999999u);
    EXPECT_EQ(journal::JournalNumber("0001000000"), 1000000u);
    EXPECT_EQ(journal::JournalNumber("18446744073709551615"), 18446744073709551615ull);
    EXPECT_FALSE(journal::JournalNumber("18446744073709551616"));
    EXPECT_FALSE(journal::JournalNumber("42"));
    EXPECT_FALSE(journal::JournalNumber("00004x"));
    EXPECT_FALSE(journal::JournalNumber("0000000001.cofanie"));
    EXPECT_EQ(journal::JournalNumberOfAnyName("0000000007.odlozony"), 7u);
    EXPECT_EQ(journal::JournalNumberOfAnyName("000007.cofanie"), 7u);
    EXPECT_FALSE(journal::JournalNumberOfAnyName("x.cofanie"));
}

}  // namespace
}  // namespace trevo

// What a front end shows of an undo session: the lines of what was (or would be) done, and one
// message, worded once, for each way it can end.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/files/FileSystem.h"
#include "engine/journal/JournalFormat.h"
#include "engine/journal/UndoSession.h"
#include "engine/ledger/Period.h"
#include "engine/run/ConversionSession.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/FaultInjectingFileSystem.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::BookableDocument;
using testing::ReadFileBytes;
using testing::Win1250;
using testing::WriteFileBytes;
using Status = UndoReport::Status;

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

class UndoSessionTest : public ::testing::Test {
  protected:
    void Convert(const std::string& exportBytes) {
        WriteFileBytes(exports_.File("eksp2kap.kpm"), exportBytes);
        ConversionRequest request;
        request.inputs.exportPath = exports_.File("eksp2kap.kpm");
        request.inputs.ledgerDir = Dir();
        ASSERT_TRUE(RunConversionSession(request, {trace_, LocalFileSystem(), &clock_, &money_})
                        .journalKept);
    }
    UndoSessionResult Undo(UndoRequest request, FileSystem& fileSystem = LocalFileSystem()) {
        return RunUndoSession(fileSystem, Dir(), request);
    }
    std::string Dir() const { return ledger_.Path().string(); }
    std::string November() const { return PeriodFileName(Dir(), 2024, 11); }

    testing::TempDirectory exports_;
    testing::TempDirectory ledger_;
    testing::NullTraceSink trace_;
    testing::FakeClock clock_;
    CurrencyFormat money_ = CurrencyFormat::Polish();
};

TEST_F(UndoSessionTest, CheckThenUndoThenNothingLeft) {
    WriteFileBytes(November(), std::string(400, 'k'));
    Convert(BookableDocument("20241105", "FV 1"));

    const UndoSessionResult check = Undo(UndoRequest::Check);
    ASSERT_EQ(check.report.status, Status::Done);
    ASSERT_EQ(check.doneLines.size(), 2u);
    EXPECT_TRUE(StartsWith(check.doneLines[0], Win1250("Cofnięcie przebiegu z ")));
    EXPECT_EQ(check.doneLines[1],
              Win1250("  2024ORMEK.11: zostałby skrócony z 800 do 400 bajtów, rekordów "
                      "usuniętych: 1"));
    EXPECT_TRUE(check.message.empty());
    EXPECT_EQ(ReadFileBytes(November()).size(), 800u);

    const UndoSessionResult undo = Undo(UndoRequest::Undo);
    ASSERT_EQ(undo.report.status, Status::Done);
    EXPECT_TRUE(StartsWith(undo.doneLines[0], Win1250("Cofnięto przebieg z ")));
    EXPECT_TRUE(undo.message.empty());
    EXPECT_EQ(ReadFileBytes(November()), std::string(400, 'k'));

    const UndoSessionResult none = Undo(UndoRequest::Undo);
    EXPECT_EQ(none.report.status, Status::NothingToUndo);
    EXPECT_TRUE(none.doneLines.empty());
    EXPECT_EQ(none.message,
              Win1250("W katalogu ") + Dir() + Win1250(" nie ma konwersji do cofnięcia"));
}

TEST_F(UndoSessionTest, RefusedAndRolledBackSayNothingWasChanged) {
    WriteFileBytes(November(), std::string(400, 'k'));
    Convert(BookableDocument("20241105", "FV 1"));
    const std::string afterRun = ReadFileBytes(November());

    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(testing::FileOperation::Truncate, 1);
    const UndoSessionResult rolledBack = Undo(UndoRequest::Undo, faults);
    ASSERT_EQ(rolledBack.report.status, Status::RolledBack);
    EXPECT_EQ(rolledBack.message, Win1250("Cofanie nie powiodło się - nic nie zmieniono: ") +
                                      rolledBack.report.problem);
    EXPECT_EQ(ReadFileBytes(November()), afterRun);

    WriteFileBytes(November(), afterRun + std::string(400, 'x'));  // another writer since
    const UndoSessionResult refused = Undo(UndoRequest::Undo);
    ASSERT_EQ(refused.report.status, Status::Refused);
    EXPECT_TRUE(refused.doneLines.empty());
    EXPECT_EQ(refused.message,
              Win1250("Nie można cofnąć - nic nie zmieniono: ") + refused.report.problem);
}

TEST_F(UndoSessionTest, SomethingLeftBehindIsAWarningBesideTheDoneLines) {
    Convert(BookableDocument("20241105", "FV 1"));  // creates the file undo removes
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(testing::FileOperation::Remove, 2);  // the file set aside, then the journal
    const UndoSessionResult undo = Undo(UndoRequest::Undo, faults);
    ASSERT_EQ(undo.report.status, Status::Done);
    EXPECT_FALSE(undo.doneLines.empty());
    EXPECT_EQ(undo.message, Win1250("Uwaga: ") + undo.report.warning);
    EXPECT_FALSE(std::filesystem::exists(November()));
}

TEST_F(UndoSessionTest, UnfinishedJournalIsSetAsideInOneLine) {
    Convert(BookableDocument("20241105", "FV 1"));
    EXPECT_EQ(Undo(UndoRequest::DiscardUnfinished).report.status, Status::Refused);
    const auto journal =
        (ledger_.Path() / std::string(journal::kDirectoryName) / "0000000001").string();
    const std::string bytes = ReadFileBytes(journal);
    WriteFileBytes(journal, bytes.substr(0, bytes.size() - 1));  // cut short, as by a kill

    const UndoSessionResult aside = Undo(UndoRequest::DiscardUnfinished);
    ASSERT_EQ(aside.report.status, Status::Done);
    ASSERT_EQ(aside.doneLines.size(), 1u);
    EXPECT_TRUE(StartsWith(aside.doneLines[0], Win1250("Odłożono dziennik ")));
    EXPECT_EQ(ReadFileBytes(November()).size(), 400u);
}

}  // namespace
}  // namespace trevo

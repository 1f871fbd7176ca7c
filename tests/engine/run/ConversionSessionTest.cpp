// What a front end relies on when it starts a conversion session and only shows its report:
// a journal for writing runs only, and one undo can use; the journal's loss and the export's
// failed open worded for it; the summary filled; the trace handed over; stopped and
// interrupted runs told apart.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "engine/files/FileSystem.h"
#include "engine/journal/JournalFormat.h"
#include "engine/journal/UndoSession.h"
#include "engine/ledger/Period.h"
#include "engine/run/ConversionSession.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::BookableDocument;
using testing::ReadFileBytes;
using testing::Win1250;
using testing::WriteFileBytes;

// Keeps every line and says whether the trace reached its reader as the platform's sink would.
class FlushedTraceSink final : public TraceSink {
  public:
    void AppendLine(std::string_view line) override { lines.emplace_back(line); }
    bool Flush() override {
        ++flushes;
        linesAtFlush = lines.size();
        return writable;
    }
    std::vector<std::string> lines;
    std::size_t linesAtFlush = 0;
    int flushes = 0;
    bool writable = true;
};

// Asks the run to stop once it has counted `after` documents, as a signal would.
class StopAfter final : public RunProgress {
  public:
    StopAfter(std::atomic<int>& stop, std::int64_t after) : stop_(stop), after_(after) {}
    void LineDone(std::uint64_t, std::uint64_t, std::int64_t documentCount) override {
        if (documentCount >= after_) {
            stop_ = 15;
        }
    }

  private:
    std::atomic<int>& stop_;
    std::int64_t after_;
};

class ConversionSessionTest : public ::testing::Test {
  protected:
    ConversionReport Run(const std::string& exportBytes, bool checkOnly = false,
                         RunProgress* progress = nullptr) {
        WriteFileBytes(ExportPath(), exportBytes);
        ConversionRequest request;
        request.inputs.exportPath = ExportPath();
        request.inputs.ledgerDir = Dir();
        request.inputs.checkOnly = checkOnly;
        request.listDocuments = listDocuments_;
        request.bookedAsAsked = bookedAsAsked_;
        SessionPlatform platform{trace_, LocalFileSystem(), &clock_, &money_};
        platform.stop = &stop_;
        platform.progress = progress;
        return RunConversionSession(request, platform);
    }
    std::string ExportPath() const { return exports_.File("eksp2kap.kpm"); }
    std::string Dir() const { return ledger_.Path().string(); }
    std::filesystem::path JournalFolder() const {
        return ledger_.Path() / std::string(journal::kDirectoryName);
    }
    UndoReport::Status UndoCheck() {
        return RunUndoSession(LocalFileSystem(), Dir(), UndoRequest::Check).report.status;
    }

    testing::TempDirectory exports_;
    testing::TempDirectory ledger_;
    FlushedTraceSink trace_;
    testing::FakeClock clock_;
    CurrencyFormat money_ = CurrencyFormat::Polish();
    std::atomic<int> stop_{0};
    bool listDocuments_ = true;
    const PeriodFileStates* bookedAsAsked_ = nullptr;
};

TEST_F(ConversionSessionTest, WritingRunKeepsAJournalUndoCanUseAndFillsTheSummary) {
    const ConversionReport report =
        Run(BookableDocument("20241105", "FV 1") + BookableDocument("20241201", "FV 2"));
    EXPECT_EQ(report.run.outcome, RunOutcome::Completed);
    EXPECT_TRUE(report.journalKept);
    EXPECT_TRUE(report.traceWritten);
    EXPECT_TRUE(report.journalLost.empty());
    EXPECT_TRUE(report.exportOpenFailed.empty());
    EXPECT_EQ(report.summary.outcome, RunOutcome::Completed);
    EXPECT_EQ(report.summary.DocumentsBooked(), 2);
    ASSERT_EQ(report.summary.periods.size(), 2u);
    EXPECT_EQ(report.summary.periods[0].fileName, PeriodFileName(Dir(), 2024, 11));
    // The trace was handed over once, after its last line.
    EXPECT_EQ(trace_.flushes, 1);
    EXPECT_EQ(trace_.linesAtFlush, trace_.lines.size());
    EXPECT_EQ(UndoCheck(), UndoReport::Status::Done);
}

TEST_F(ConversionSessionTest, CheckOnlyRunKeepsNoJournalAndWritesNothing) {
    const ConversionReport report = Run(BookableDocument("20241105", "FV 1"), true);
    EXPECT_EQ(report.run.outcome, RunOutcome::Completed);
    EXPECT_TRUE(report.journalKept);
    EXPECT_EQ(report.summary.documentCount, 1);
    EXPECT_TRUE(report.summary.checkOnly);
    EXPECT_TRUE(std::filesystem::is_empty(ledger_.Path()));
}

TEST_F(ConversionSessionTest, JournalThatCannotBeKeptIsWordedAndTheRunStands) {
    WriteFileBytes(JournalFolder().string(), "a file in the folder's place");
    const ConversionReport report = Run(BookableDocument("20241105", "FV 1"));
    EXPECT_EQ(report.run.outcome, RunOutcome::Completed);
    EXPECT_FALSE(report.journalKept);
    EXPECT_EQ(report.journalLost,
              Win1250("Nie udało się zapisać dziennika przebiegu w katalogu danych KPR - tego "
                      "przebiegu nie da się cofnąć"));
    EXPECT_EQ(ReadFileBytes(PeriodFileName(Dir(), 2024, 11)).size(), 400u);
}

TEST_F(ConversionSessionTest, ExportThatCannotBeOpenedIsWordedAndNothingIsMade) {
    ConversionRequest request;
    request.inputs.exportPath = exports_.File("brak.kpm");
    request.inputs.ledgerDir = Dir();
    const ConversionReport report =
        RunConversionSession(request, {trace_, LocalFileSystem(), &clock_, &money_});
    EXPECT_EQ(report.run.outcome, RunOutcome::ExportNotOpened);
    EXPECT_EQ(report.exportOpenFailed,
              Win1250("Błąd otwarcia pliku epp \"") + exports_.File("brak.kpm") + "\"");
    EXPECT_TRUE(report.journalKept);
    EXPECT_TRUE(trace_.lines.empty());
    EXPECT_TRUE(std::filesystem::is_empty(ledger_.Path()));
}

TEST_F(ConversionSessionTest, TraceThatDidNotReachItsReaderIsReported) {
    trace_.writable = false;
    const ConversionReport report = Run(BookableDocument("20241105", "FV 1"));
    EXPECT_EQ(report.run.outcome, RunOutcome::Completed);
    EXPECT_FALSE(report.traceWritten);
    EXPECT_TRUE(report.journalKept);
}

TEST_F(ConversionSessionTest, InterruptedRunIsToldApartFromAStoppedOneAndBothCanBeUndone) {
    StopAfter stopAfterOne(stop_, 1);
    const ConversionReport interrupted =
        Run(BookableDocument("20241105", "FV 1") + BookableDocument("20241106", "FV 2"), false,
            &stopAfterOne);
    EXPECT_EQ(interrupted.run.outcome, RunOutcome::Interrupted);
    EXPECT_EQ(interrupted.summary.outcome, RunOutcome::Interrupted);
    EXPECT_EQ(interrupted.summary.DocumentsBooked(), 1);
    EXPECT_TRUE(interrupted.journalKept);
    EXPECT_EQ(UndoCheck(), UndoReport::Status::Done);

    stop_ = 0;
    std::filesystem::create_directory(PeriodFileName(Dir(), 2024, 12));
    const ConversionReport stopped =
        Run(BookableDocument("20241107", "FV 3") + BookableDocument("20241201", "FV 4") +
            BookableDocument("20241108", "FV 5"));
    EXPECT_EQ(stopped.run.outcome, RunOutcome::Stopped);
    EXPECT_EQ(stopped.summary.DocumentsBooked(), 1);
    EXPECT_EQ(stopped.summary.DocumentsNotBooked(), 1);
    EXPECT_TRUE(stopped.journalKept);
    EXPECT_EQ(UndoCheck(), UndoReport::Status::Done);
}

TEST_F(ConversionSessionTest, FileChangedSinceTheQuestionIsWordedForTheUser) {
    const PeriodFileStates asked;  // the question saw no file at all
    bookedAsAsked_ = &asked;
    const ConversionReport report = Run(BookableDocument("20241105", "FV 1"));
    EXPECT_EQ(report.run.outcome, RunOutcome::Stopped);
    const std::string file = PeriodFileName(Dir(), 2024, 11);
    EXPECT_EQ(report.run.changedSinceAsked, file);
    EXPECT_EQ(report.changedSinceAsked,
              Win1250("Plik ") + file +
                  Win1250(" zmienił się od pytania o dokumenty już zaksięgowane (zapisał do niego "
                          "inny program lub przebieg). Konwersję zatrzymano przed zapisem do "
                          "niego; uruchom ją ponownie, aby odpowiedzieć na pytanie jeszcze raz."));
}

TEST_F(ConversionSessionTest, SummaryWithoutListsCountsOnly) {
    listDocuments_ = false;
    const ConversionReport report =
        Run(BookableDocument("20241105", "FV 1") + BookableDocument("20241305", "FV 2"));
    EXPECT_EQ(report.summary.rejectedCount, 1);
    EXPECT_TRUE(report.summary.rejected.empty());
    EXPECT_EQ(report.summary.DocumentsBooked(), 1);
}

}  // namespace
}  // namespace trevo

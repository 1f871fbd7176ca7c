#include <gtest/gtest.h>

#include <filesystem>

#include "engine/exportfile/ExportColumns.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/platform/TraceSink.h"
#include "engine/run/ConversionRun.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/FaultInjectingFileSystem.h"
#include "testing/MemoryTraceSink.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

namespace col = export_columns;
using testing::ExportLineBuilder;
using testing::FileOperation;
using testing::ReadFileBytes;
using testing::Win1250;
using testing::WriteFileBytes;
using Lines = std::vector<std::string>;

const std::string kStart = Win1250(" *** Rozpoczynam konwersję ...");
const std::string kPhysicalEnd = Win1250("\r\nOsiągnięto fizyczny koniec pliku ");
const std::string kEnd = " *** Koniec przetwarzania ***";
const std::string kCheckBanner = Win1250(" *** Procedura sprawdzająca (BEZ ZAPISU ) ***");
const std::string kCheckEnd = Win1250(" *** Koniec procedury sprawdzającej (BEZ ZAPISU ) ***");

std::string Count(int n) {
    return Win1250(" *** Ilość dokumentów ") + std::to_string(n);
}

std::string Document(const char* date, const char* number, const char* type = "0") {
    return ExportLineBuilder()
        .Date(date)
        .Number(number)
        .Type(type)
        .Amount(col::kNettoKpr, "1")
        .Amount(col::kNetto1, "1")
        .Line();
}

class ConversionRunTest : public ::testing::Test {
  protected:
    RunResult Run(const std::string& exportBytes, bool checkOnly = false,
                  FileSystem& fileSystem = LocalFileSystem()) {
        WriteFileBytes(ExportPath(), exportBytes);
        return RunPath(ExportPath(), checkOnly, fileSystem);
    }
    RunResult RunPath(const std::string& path, bool checkOnly, FileSystem& fileSystem) {
        RunInputs inputs;
        inputs.exportPath = path;
        inputs.ledgerDir = LedgerDir();
        inputs.checkOnly = checkOnly;
        return RunConversion(inputs, {trace_, fileSystem, clock_, money_});
    }
    std::string ExportPath() const { return exports_.File("eksp2kap.kpm"); }
    std::string LedgerDir() const { return ledger_.Path().string(); }
    std::string PeriodFile(unsigned year, unsigned month) const {
        return PeriodFileName(LedgerDir(), year, month);
    }
    const Lines& Trace() const { return trace_.Lines(); }
    std::size_t LedgerFileCount() const {
        const auto it = std::filesystem::directory_iterator(ledger_.Path());
        return static_cast<std::size_t>(std::distance(begin(it), end(it)));
    }

    testing::TempDirectory exports_;
    testing::TempDirectory ledger_;
    testing::MemoryTraceSink trace_;
    testing::FakeClock clock_;
    CurrencyFormat money_ = CurrencyFormat::Polish();
};

TEST_F(ConversionRunTest, EmptyExportGivesTheBareTraceAndNoFile) {
    const RunResult result = Run("");
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.documentCount, 0);
    EXPECT_EQ(Trace(), (Lines{kStart, "", kPhysicalEnd, Count(0), kEnd}));
    EXPECT_EQ(LedgerFileCount(), 0u);
}

TEST_F(ConversionRunTest, RejectedAndWrongLengthLinesAreSkippedAndNotCounted) {
    const std::string lines = Document("20240115", "A") + "\r\n" + Document("20240115", "B", "2") +
                              "\r\n" + std::string(509, ' ') + "\n" + std::string(511, ' ') + "\n" +
                              Document("20240116", "C");
    const RunResult result = Run(lines);
    EXPECT_EQ(result.documentCount, 2);
    EXPECT_EQ(Trace().size(), 15u);
    EXPECT_EQ(Trace()[5], Win1250("* Dokument nr \"B\" - błędny TYP(8)=2"));
    EXPECT_EQ(Trace()[6], "");  // the 509-byte line: only its empty line
    EXPECT_EQ(Trace()[7], "");  // the 511-byte line
    EXPECT_EQ(Trace()[8], "");  // the last document's empty line
    EXPECT_EQ(Trace().end()[-2], Count(2));
    const std::string bytes = ReadFileBytes(PeriodFile(2024, 1));
    ASSERT_EQ(bytes.size(), 800u);
    EXPECT_EQ(bytes[400], 2);  // seqNo of C
    EXPECT_EQ(bytes[433], 'C');
}

TEST_F(ConversionRunTest, CheckOnlyMapsEverythingAndTouchesNothing) {
    std::filesystem::remove(ledger_.Path());
    const RunResult result =
        Run(Document("20240115", "A") + "\n" + Document("20240215", "B") + "\n", true);
    EXPECT_EQ(result.documentCount, 2);
    EXPECT_EQ(Trace().front(), kCheckBanner);
    EXPECT_EQ(Trace()[1], kStart);
    EXPECT_EQ(Trace().back(), kCheckEnd);
    EXPECT_FALSE(std::filesystem::exists(ledger_.Path()));
    std::filesystem::create_directory(ledger_.Path());  // for the fixture's cleanup
}

TEST_F(ConversionRunTest, MonthsAlternatingReopenTheirFiles) {
    const RunResult result = Run(Document("20240105", "J1") + "\n" + Document("20240205", "F1") +
                                 "\n" + Document("20240107", "J2") + "\n");
    EXPECT_EQ(result.documentCount, 3);
    const std::string january = ReadFileBytes(PeriodFile(2024, 1));
    ASSERT_EQ(january.size(), 800u);
    EXPECT_EQ(january[400], 2);
    EXPECT_EQ(ReadFileBytes(PeriodFile(2024, 2)).size(), 400u);
}

TEST_F(ConversionRunTest, ExportThatCannotBeOpenedTracesNothing) {
    const RunResult result = RunPath(exports_.File("missing.kpm"), false, LocalFileSystem());
    EXPECT_EQ(result.outcome, RunOutcome::ExportNotOpened);
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(ExportOpenFailedMessage("C:/x y.kpm"),
              Win1250("Błąd otwarcia pliku epp \"C:/x y.kpm\""));
    // A directory is no export file either.
    EXPECT_EQ(RunPath(exports_.Path().string(), true, LocalFileSystem()).outcome,
              RunOutcome::ExportNotOpened);
}

TEST_F(ConversionRunTest, FailedAppendStopsTheRunAndCountsTheDocument) {
    std::string lines;
    for (int i = 1; i <= 7; ++i) {
        lines += Document("20240110", ("D" + std::to_string(i)).c_str()) + "\r\n";
    }
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(FileOperation::Write, 5);
    const RunResult result = Run(lines, false, faults);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.documentCount, 5);
    const std::string file = PeriodFile(2024, 1);
    EXPECT_EQ(Trace().end()[-3], Win1250("Błąd dopisania do pliku " + file + " !"));
    EXPECT_EQ(Trace().end()[-2], Count(5));
    EXPECT_EQ(Trace().back(), kEnd);
    EXPECT_EQ(ReadFileBytes(file).size(), 1600u);
}

TEST_F(ConversionRunTest, PeriodThatCannotBeOpenedStopsTheRun) {
    std::filesystem::create_directory(PeriodFile(2024, 2));
    const RunResult result = Run(Document("20240105", "J") + "\n" + Document("20240205", "F") +
                                 "\n" + Document("20240305", "M") + "\n");
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.documentCount, 2);
    EXPECT_EQ(Trace().end()[-4], Win1250("Błąd otwarcia pliku " + PeriodFile(2024, 2) + " !"));
    EXPECT_EQ(Trace().end()[-3], Win1250(" * błąd otwarcia okresu *"));
    EXPECT_FALSE(std::filesystem::exists(PeriodFile(2024, 3)));
}

TEST_F(ConversionRunTest, ReadFailureStopsAsAtTheEnd) {
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(FileOperation::Read, 1);
    const RunResult result = Run(Document("20240105", "J") + "\n", false, faults);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(Trace(), (Lines{kStart, "", Win1250("io Błąd odczytu z pliku "), Count(0), kEnd}));
}

TEST_F(ConversionRunTest, FinalCloseFailureFollowsTheClosingLine) {
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(FileOperation::Close, 1);
    const RunResult result = Run(Document("20240105", "J") + "\n", false, faults);
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.closeFailed);
    EXPECT_EQ(Trace().end()[-2], kEnd);
    EXPECT_EQ(Trace().back(), Win1250("Błąd zamknięcia pliku " + PeriodFile(2024, 1) + " !"));
}

TEST_F(ConversionRunTest, ExportEndingInLineBreakAndEndOfTextStopsCleanly) {
    const RunResult result = Run(Document("20240105", "J") + "\r\n\x1A");
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.documentCount, 1);
    EXPECT_EQ(Trace().end()[-3], kPhysicalEnd);
}

}  // namespace
}  // namespace trevo

namespace trevo {
namespace {

// Asks the run to stop once it has accepted `documents` documents, as a signal handler or a
// window's Cancel would.
class StopAfter final : public RunProgress {
  public:
    StopAfter(std::int64_t documents, std::atomic<int>& stop)
        : documents_(documents), stop_(stop) {}
    void LineDone(std::uint64_t, std::uint64_t, std::int64_t documentCount) override {
        if (documentCount >= documents_) {
            stop_.store(2);
        }
    }

  private:
    std::int64_t documents_;
    std::atomic<int>& stop_;
};

TEST_F(ConversionRunTest, AStoppedRunBooksTheDocumentInHandAndSaysHowManyAfterItsEnd) {
    std::string bytes;
    for (const char* number : {"A", "B", "C", "D"}) {
        bytes += Document("20240301", number) + "\r\n";
    }
    for (const bool checkOnly : {false, true}) {
        SCOPED_TRACE(checkOnly ? "check-only" : "writing");
        trace_.Clear();
        WriteFileBytes(ExportPath(), bytes);
        std::atomic<int> stop{0};
        StopAfter progress(2, stop);
        RunInputs inputs;
        inputs.exportPath = ExportPath();
        inputs.ledgerDir = LedgerDir();
        inputs.checkOnly = checkOnly;
        const RunResult result =
            RunConversion(inputs, {trace_, LocalFileSystem(), clock_, money_, &progress, &stop});
        EXPECT_EQ(result.outcome, RunOutcome::Interrupted);
        EXPECT_EQ(result.documentCount, 2);
        const Lines& t = Trace();
        ASSERT_GE(t.size(), 3u);
        EXPECT_EQ(t[t.size() - 3], Count(2));
        EXPECT_EQ(t.back(),
                  Win1250(checkOnly ? " *** Sprawdzanie przerwane, sprawdzono dokumentów: 2"
                                    : " *** Konwersja przerwana, zapisano dokumentów: 2"));
    }
    EXPECT_EQ(ReadFileBytes(PeriodFile(2024, 3)).size(), 800u);
}

}  // namespace
}  // namespace trevo

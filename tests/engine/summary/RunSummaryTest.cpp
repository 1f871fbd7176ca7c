// Runs with a summary: documents booked before (found, booked again or skipped), the summary's
// counts and sums against the trace, rejected documents, values read as zero, NIP checksums.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/exportfile/ExportColumns.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/run/ConversionRun.h"
#include "engine/summary/RunSummary.h"
#include "engine/summary/SummaryJson.h"
#include "engine/summary/SummaryText.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/FaultInjectingFileSystem.h"
#include "testing/JsonValue.h"
#include "testing/MemoryTraceSink.h"
#include "testing/SyntheticExport.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

namespace col = export_columns;
using testing::ExportLineBuilder;
using testing::Win1250;
using Lines = std::vector<std::string>;

std::string Document(const char* date, const char* number, const char* nip = "5260250274",
                     const char* netto = "100.00", const char* vat = "23.00") {
    return ExportLineBuilder()
               .Date(date)
               .Number(number)
               .Nip(nip)
               .CountryPrefix("PL")
               .Amount(col::kNettoKpr, netto)
               .Amount(col::kNetto1, netto)
               .Amount(col::kVat1, vat)
               .Line() +
           "\r\n";
}

class RunSummaryTest : public ::testing::Test {
  protected:
    RunResult Run(const std::string& exportBytes, bool checkOnly = false, bool skip = false,
                  std::string ledgerDir = {}) {
        testing::WriteFileBytes(exports_.File("eksp2kap.kpm"), exportBytes);
        RunInputs inputs;
        inputs.exportPath = exports_.File("eksp2kap.kpm");
        inputs.ledgerDir = ledgerDir.empty() ? Dir() : ledgerDir;
        inputs.checkOnly = checkOnly;
        inputs.skipBooked = skip;
        trace_.Clear();
        RunServices services{trace_, LocalFileSystem(), clock_, money_};
        services.summary = &summary_;
        return RunConversion(inputs, services);
    }
    std::string Dir() const { return ledger_.Path().string(); }
    std::string File(unsigned year, unsigned month) const {
        return PeriodFileName(Dir(), year, month);
    }
    std::uint64_t Size(unsigned year, unsigned month) const {
        return testing::ReadFileBytes(File(year, month)).size();
    }

    testing::TempDirectory exports_;
    testing::TempDirectory ledger_;
    testing::MemoryTraceSink trace_;
    testing::FakeClock clock_;
    CurrencyFormat money_ = CurrencyFormat::Polish();
    RunSummary summary_;
};

TEST_F(RunSummaryTest, ReimportBooksAgainAfterTheWarningsAndSkipsWhenAsked) {
    const std::string exportBytes =
        Document("20241105", "FV 1") + Document("20241106", "FV 2") + Document("20241201", "FV 3");
    ASSERT_EQ(Run(exportBytes).outcome, RunOutcome::Completed);
    EXPECT_TRUE(summary_.alreadyBooked.empty());
    ASSERT_EQ(summary_.periods.size(), 2u);
    EXPECT_EQ(summary_.periods[0].existedBefore, false);
    EXPECT_EQ(summary_.periods[0].recordsBefore, 0u);
    EXPECT_EQ(summary_.periods[0].recordsAfter, 2u);

    // Again without skipping: every document is found and booked a second time.
    const RunResult again = Run(exportBytes);
    EXPECT_EQ(again.documentCount, 3);
    EXPECT_EQ(Size(2024, 11), 4 * 400u);
    ASSERT_EQ(summary_.alreadyBooked.size(), 3u);
    EXPECT_EQ(summary_.alreadyBooked[1].document.line, 2u);
    EXPECT_EQ(summary_.alreadyBooked[1].document.docNumber, "FV 2");
    EXPECT_EQ(summary_.alreadyBooked[1].periodFile, File(2024, 11));
    EXPECT_EQ(summary_.alreadyBooked[1].slot, 2u);
    EXPECT_EQ(summary_.alreadyBooked[2].slot, 1u);
    EXPECT_EQ(summary_.alreadyBooked[0].action, RepeatedDocument::Action::BookedAgain);
    EXPECT_EQ(summary_.periods[0].recordsBefore, 2u);
    EXPECT_EQ(summary_.periods[0].recordsAfter, 4u);

    // Skipping: nothing is appended, one line stands for each document instead of its lines.
    const std::string before = testing::ReadFileBytes(File(2024, 11));
    const RunResult skipped = Run(exportBytes + Document("20241107", "FV 4"), false, true);
    EXPECT_EQ(skipped.documentCount, 1);
    EXPECT_EQ(testing::ReadFileBytes(File(2024, 11)).substr(0, before.size()), before);
    EXPECT_EQ(Size(2024, 11), 5 * 400u);
    const Lines& t = trace_.Lines();
    EXPECT_EQ(std::count_if(t.begin(), t.end(),
                            [](const std::string& l) { return l.starts_with("* Dokument nr:"); }),
              1);
    const std::string skipLine = Win1250("* Dokument nr \"FV 1\" jest już w KPR (") +
                                 File(2024, 11) + Win1250(", pozycja 1) - pominięty");
    EXPECT_NE(std::find(t.begin(), t.end(), skipLine), t.end());
    ASSERT_EQ(summary_.alreadyBooked.size(), 3u);
    EXPECT_EQ(summary_.alreadyBooked[0].action, RepeatedDocument::Action::Skipped);
    EXPECT_TRUE(summary_.skipBooked);
}

TEST_F(RunSummaryTest, ExportListingADocumentTwiceBooksBothAndFindsNeitherBooked) {
    const std::string twice = Document("20241105", "FV 1") + Document("20241105", "FV 1");
    Run(twice, false, true);
    EXPECT_EQ(Size(2024, 11), 2 * 400u);
    EXPECT_TRUE(summary_.alreadyBooked.empty());
    // The same bytes with another NIP or date are another document.
    Run(Document("20241105", "FV 1", "7740001454") + Document("20241106", "FV 1"), false, true);
    EXPECT_EQ(Size(2024, 11), 4 * 400u);
}

TEST_F(RunSummaryTest, CheckOnlyReportsBookedDocumentsReadOnlyAndOnlyWithADirectory) {
    Run(Document("20241105", "FV 1"));
    const std::string before = testing::ReadFileBytes(File(2024, 11));
    Run(Document("20241105", "FV 1") + Document("20241105", "FV 2"), true);
    ASSERT_EQ(summary_.alreadyBooked.size(), 1u);
    EXPECT_EQ(summary_.alreadyBooked[0].action, RepeatedDocument::Action::Reported);
    EXPECT_EQ(testing::ReadFileBytes(File(2024, 11)), before);
    ASSERT_EQ(summary_.periods.size(), 1u);
    EXPECT_EQ(summary_.periods[0].documents, 2);
    EXPECT_EQ(summary_.periods[0].recordsBefore, 1u);

    Run(Document("20241105", "FV 1"), true, false, ledger_.File("brak"));
    EXPECT_TRUE(summary_.alreadyBooked.empty());
    EXPECT_FALSE(summary_.periods[0].recordsBefore.has_value());
    EXPECT_FALSE(summary_.periods[0].existedBefore.has_value());  // never looked
    EXPECT_EQ(SummaryLines(summary_, money_)[3],
              Win1250("Plik ") + PeriodFileName(ledger_.File("brak"), 2024, 11) +
                  Win1250(": do zaksięgowania dokumentów 1; netto 100,00 zł; VAT 23,00 zł"));
}

// Sums of the trace's amount lines, in grosze: " z dnia D-M-Y na kwotę netto:1 234,56 zł vat:…".
std::pair<long long, long long> TraceSums(const Lines& trace) {
    const auto grosze = [](std::string_view text) {
        long long value = 0;
        bool negative = false;
        for (const char c : text) {
            if (c >= '0' && c <= '9') {
                value = value * 10 + (c - '0');
            } else if (c == '-') {
                negative = true;
            }
        }
        return negative ? -value : value;
    };
    long long netto = 0;
    long long vat = 0;
    for (const std::string& line : trace) {
        const auto n = line.find("netto:");
        const auto v = line.find(" vat:");
        if (!line.starts_with(" z dnia") || n == std::string::npos || v == std::string::npos) {
            continue;
        }
        netto += grosze(std::string_view(line).substr(n + 6, v - n - 6));
        vat += grosze(std::string_view(line).substr(v + 5));
    }
    return {netto, vat};
}

TEST_F(RunSummaryTest, SyntheticExportSumsMatchTheTraceAndTheWarningsAreTheDesignedOnes) {
    testing::SyntheticExportOptions options;
    options.documents = 100;
    options.firstMonth = 11;
    testing::WriteSyntheticExport(exports_.File("synthetic.kpm"), options);
    Run(testing::ReadFileBytes(exports_.File("synthetic.kpm")));
    long long netto = 0;
    long long vat = 0;
    std::int64_t documents = 0;
    for (const PeriodSummary& p : summary_.periods) {
        netto += p.nettoUnits;
        vat += p.vatUnits;
        documents += p.documents;
        EXPECT_EQ(*p.recordsAfter - *p.recordsBefore, static_cast<std::uint64_t>(p.documents));
    }
    EXPECT_EQ(std::pair(netto, vat), TraceSums(trace_.Lines()));
    EXPECT_EQ(documents, 98);
    EXPECT_EQ(summary_.documentCount, 98);
    ASSERT_EQ(summary_.rejected.size(), 2u);
    EXPECT_EQ(summary_.rejected[0].document.line, testing::kRejectedTypeAt + 1);
    EXPECT_EQ(summary_.rejected[0].reason, Win1250("błędny TYP(8)=2"));
    // Only the document made to fail; the foreign one is not checked.
    ASSERT_EQ(summary_.nipWarnings.size(), 2u);
    EXPECT_EQ(summary_.nipWarnings[0].document.line, testing::kBadNipAt + 1);
    EXPECT_EQ(summary_.nipWarnings[1].document.line, testing::kBadNipAt + 51);
    EXPECT_TRUE(summary_.unreadable.empty());
}

TEST_F(RunSummaryTest, ValuesReadAsZeroAndRejectedDatesAreListedWithTheirFields) {
    const std::string bad = ExportLineBuilder()
                                .Date("20241105")
                                .Number("FV 9")
                                .Amount(col::kNettoKpr, "1,5")
                                .Amount(col::kNetto1, "x")
                                .KprCode("-1")
                                .Line() +
                            "\n";
    const std::string badDate = ExportLineBuilder().Date("20241305").Number("FV 10").Line() + "\n";
    const std::string foreign =
        ExportLineBuilder().Date("20241105").Number("FV 11").Nip("123").CountryPrefix("DE").Line() +
        "\n";
    Run("short line\n" + bad + badDate + foreign);
    ASSERT_EQ(summary_.unreadable.size(), 1u);
    EXPECT_EQ(summary_.unreadable[0].document.line, 2u);
    std::vector<std::string> fields;
    for (const auto& c : summary_.unreadable[0].fields) {
        fields.push_back(FieldOfColumns(c));
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"kprCode", "nettoKpr", "netto1"}));
    ASSERT_EQ(summary_.rejected.size(), 1u);
    EXPECT_EQ(summary_.rejected[0].document.line, 3u);
    EXPECT_EQ(summary_.rejected[0].reason, Win1250("błędna data 5-13-2024"));
    EXPECT_TRUE(summary_.nipWarnings.empty());  // blank NIP, and a foreign one
    EXPECT_TRUE(summary_.HasDocumentProblems());
}

TEST_F(RunSummaryTest, WithoutListsOnlyTheCountsAreKept) {
    testing::SyntheticExportOptions options;
    options.documents = 100;
    options.firstMonth = 11;
    testing::WriteSyntheticExport(exports_.File("synthetic.kpm"), options);
    const std::string bytes = testing::ReadFileBytes(exports_.File("synthetic.kpm"));
    Run(bytes);
    summary_.listDocuments = false;
    Run(bytes);
    EXPECT_FALSE(summary_.listDocuments);  // the run keeps the caller's choice
    EXPECT_EQ(summary_.rejectedCount, 2);
    EXPECT_EQ(summary_.nipWarningCount, 2);
    EXPECT_EQ(summary_.alreadyBookedCount, 98);
    EXPECT_TRUE(summary_.rejected.empty());
    EXPECT_TRUE(summary_.nipWarnings.empty());
    EXPECT_TRUE(summary_.alreadyBooked.empty());
    EXPECT_TRUE(summary_.HasDocumentProblems());
    EXPECT_EQ(SummaryDigest(summary_),
              Win1250("Zaksięgowano 98 dok. w plikach: 2; odrzucone: 2; wartości zerowane: 0; "
                      "już w KPR: 98; złe NIP: 2"));
}

TEST_F(RunSummaryTest, TextAndJsonCarryTheSameFacts) {
    Run(Document("20241105", "FV 1"));
    Run(Document("20241105", "FV 1") +
        Document("20241106", "FV 2", "5260250275", "1234.50", "-0.01") +
        ExportLineBuilder().Number("FV 3").Type("7").Line() + "\n");
    const Lines lines = SummaryLines(summary_, money_);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], " *** Podsumowanie ***");
    EXPECT_EQ(lines[2], Win1250("Dokumenty przyjęte (wiersz \" *** Ilość dokumentów\"): 2; "
                                "zapisane do KPR: 2; niezapisane z powodu błędu pliku okresu: 0"));
    EXPECT_EQ(lines[3], Win1250("Plik ") + File(2024, 11) +
                            Win1250(": rekordów przed 1, po 3; zaksięgowano dokumentów 2; netto "
                                    "1 334,50 zł; VAT 22,99 zł"));
    EXPECT_EQ(SummaryDigest(summary_),
              Win1250("Zaksięgowano 2 dok. w plikach: 1; odrzucone: 1; wartości zerowane: 0; już "
                      "w KPR: 1; złe NIP: 1"));

    const auto json = testing::ParseJson(SummaryJson(summary_));
    ASSERT_TRUE(json);
    EXPECT_EQ((*json)["outcome"].text, "completed");
    EXPECT_EQ((*json)["documentCount"].Integer(), 2);
    EXPECT_EQ((*json)["documentsBooked"].Integer(), 2);
    EXPECT_EQ((*json)["documentsNotBooked"].Integer(), 0);
    const auto& period = (*json)["periodFiles"][0];
    EXPECT_EQ(period["file"].text, File(2024, 11));
    EXPECT_EQ(period["recordsBefore"].Integer(), 1);
    EXPECT_EQ(period["recordsAfter"].Integer(), 3);
    EXPECT_EQ(period["netto"].text, "1334.50");
    EXPECT_EQ(period["vat"].text, "22.99");
    EXPECT_EQ((*json)["rejected"][0]["line"].Integer(), 3);
    EXPECT_EQ((*json)["rejected"][0]["reason"].text, "błędny TYP(8)=7");
    EXPECT_EQ((*json)["alreadyBooked"][0]["slot"].Integer(), 1);
    EXPECT_EQ((*json)["alreadyBooked"][0]["action"].text, "bookedAgain");
    EXPECT_EQ((*json)["nipChecksumWarnings"][0]["nip"].text, "5260250275");
    EXPECT_EQ((*json)["invalidFields"].items.size(), 0u);
}

// Lines of another length are passed over without a trace line, but never unreported: the
// first ten by line number, then how many in all.
TEST_F(RunSummaryTest, LinesOfAnotherLengthAreCountedAndListed) {
    const std::string document = Document("20241105", "FV 1");
    std::string exportBytes = document;
    exportBytes += document.substr(0, 300) + "\r\n";  // a document cut short
    exportBytes += "\r\n";                            // empty: not counted
    for (int i = 0; i < 10; ++i) {
        exportBytes += document.substr(0, 509) + "\r\n";
    }
    Run(exportBytes, true);
    EXPECT_EQ(summary_.documentCount, 1);
    EXPECT_EQ(summary_.otherLengthLineCount, 11);
    ASSERT_EQ(summary_.otherLengthLines.size(), 10u);
    EXPECT_EQ(summary_.otherLengthLines[0].line, 2u);
    EXPECT_EQ(summary_.otherLengthLines[0].length, 300u);
    EXPECT_EQ(summary_.otherLengthLines[1].line, 4u);  // line 3 is empty
    EXPECT_EQ(summary_.otherLengthLines[1].length, 509u);
    EXPECT_TRUE(summary_.HasDocumentProblems());

    const Lines lines = SummaryLines(summary_, money_);
    const auto at = std::find(lines.begin(), lines.end(),
                              Win1250("Wiersze o długości innej niż 510 znaków, pominięte bez "
                                      "śladu: 11"));
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(at[1], Win1250("  wiersz 2: 300 znaków"));
    EXPECT_EQ(at[10], Win1250("  wiersz 12: 509 znaków"));
    EXPECT_EQ(at[11], Win1250("  i dalsze: 1"));
    const auto json = testing::ParseJson(SummaryJson(summary_));
    ASSERT_TRUE(json);
    EXPECT_EQ((*json)["otherLengthLineCount"].Integer(), 11);
    EXPECT_EQ((*json)["otherLengthLines"].items.size(), 10u);
    EXPECT_EQ((*json)["otherLengthLines"][0]["line"].Integer(), 2);
    EXPECT_EQ((*json)["otherLengthLines"][0]["length"].Integer(), 300);
    EXPECT_NE(SummaryDigest(summary_).find(Win1250("; wiersze o złej długości: 11")),
              std::string::npos);
}

// The count line counts accepted documents, the failed one too; the summary says how many
// were written and how many were not because their file failed.
TEST_F(RunSummaryTest, ADocumentWhoseFileFailedIsCountedButNotBooked) {
    testing::FaultInjectingFileSystem faults(LocalFileSystem());
    faults.FailAt(testing::FileOperation::Write, 2);
    testing::WriteFileBytes(
        exports_.File("eksp2kap.kpm"),
        Document("20241105", "FV 1") + Document("20241106", "FV 2") + Document("20241107", "FV 3"));
    RunInputs inputs;
    inputs.exportPath = exports_.File("eksp2kap.kpm");
    inputs.ledgerDir = Dir();
    RunServices services{trace_, faults, clock_, money_};
    services.summary = &summary_;
    const RunResult result = RunConversion(inputs, services);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.documentCount, 2);
    EXPECT_EQ(summary_.DocumentsBooked(), 1);
    EXPECT_EQ(summary_.DocumentsNotBooked(), 1);
    ASSERT_EQ(summary_.periods.size(), 1u);
    EXPECT_EQ(summary_.periods[0].documentsNotBooked, 1);
    const Lines lines = SummaryLines(summary_, money_);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        Win1250("Dokumenty przyjęte (wiersz \" *** Ilość dokumentów\"): 2; "
                                "zapisane do KPR: 1; niezapisane z powodu błędu pliku okresu: 1")),
              lines.end());
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  Win1250("  plik ") + File(2024, 11) + Win1250(": niezapisane dokumenty: 1")),
        lines.end());
    EXPECT_TRUE(SummaryDigest(summary_).starts_with(
        Win1250("Zaksięgowano 1 dok. w plikach: 1; odrzucone: 0; wartości zerowane: 0; już w "
                "KPR: 0; złe NIP: 0; NIE zapisano 1 dok. (błąd pliku)")));
    const auto json = testing::ParseJson(SummaryJson(summary_));
    ASSERT_TRUE(json);
    EXPECT_EQ((*json)["documentCount"].Integer(), 2);
    EXPECT_EQ((*json)["documentsBooked"].Integer(), 1);
    EXPECT_EQ((*json)["documentsNotBooked"].Integer(), 1);
    EXPECT_EQ((*json)["periodFiles"][0]["documentsNotBooked"].Integer(), 1);
}

// A link at a period file's name is not followed by the already-booked scan, as the run never
// writes through one: nothing is reported from its target, and what the file held is unknown.
TEST_F(RunSummaryTest, TheBookedScanDoesNotFollowALinkAtAPeriodFileName) {
    testing::TempDirectory elsewhere;
    Run(Document("20241105", "FV 1"), false, false, elsewhere.Path().string());
    std::error_code linkError;
    std::filesystem::create_symlink(PeriodFileName(elsewhere.Path().string(), 2024, 11),
                                    File(2024, 11), linkError);
    // The C++ library for Windows makes none; WindowsFileSystemTest tries the system's call.
    if (!std::filesystem::is_symlink(File(2024, 11))) {
        GTEST_SKIP() << "this system made no symbolic link: " << linkError.message();
    }
    Run(Document("20241105", "FV 1"), true);
    EXPECT_TRUE(summary_.alreadyBooked.empty());
    ASSERT_EQ(summary_.periods.size(), 1u);
    EXPECT_FALSE(summary_.periods[0].recordsBefore.has_value());
    EXPECT_FALSE(summary_.periods[0].existedBefore.has_value());
    const auto json = testing::ParseJson(SummaryJson(summary_));
    ASSERT_TRUE(json);
    EXPECT_EQ((*json)["periodFiles"][0]["existedBefore"].kind, testing::JsonValue::Kind::Null);
}

TEST(SummaryJsonNumbers, UnitsKeepTheirDecimals) {
    EXPECT_EQ(UnitsAsDecimal(123456, 2), "1234.56");
    EXPECT_EQ(UnitsAsDecimal(-5, 2), "-0.05");
    EXPECT_EQ(UnitsAsDecimal(0, 2), "0.00");
    EXPECT_EQ(UnitsAsDecimal(7, 0), "7");
}

}  // namespace
}  // namespace trevo

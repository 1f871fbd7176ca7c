// Re-importing through the built command line (warnings on stderr, --skip-booked, the summary
// in words and as JSON, --strict) and undoing runs with "undo".

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "cli/Diagnostic.h"
#include "engine/exportfile/ExportColumns.h"
#include "engine/files/FileSystem.h"
#include "testing/ExportLineBuilder.h"
#include "testing/JsonValue.h"
#include "testing/ProcessRunner.h"
#include "testing/SyntheticExport.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

namespace col = export_columns;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

testing::ProcessResult Cli(const std::vector<std::string>& args) {
    return testing::RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
}

std::string Document(const char* date, const char* number, const char* kprCode = "7") {
    return testing::ExportLineBuilder()
               .Date(date)
               .Number(number)
               .Nip("5260250274")
               .KprCode(kprCode)
               .Amount(col::kNettoKpr, "10.00")
               .Amount(col::kNetto1, "10.00")
               .Amount(col::kVat1, "2.30")
               .Line() +
           "\r\n";
}

std::size_t Lines(const std::string& text, std::string_view start) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (std::string_view(text).substr(at).starts_with(start)) {
            ++count;
        }
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return count;
}

class ReimportUndoCommandTest : public ::testing::Test {
  protected:
    ReimportUndoCommandTest() { std::filesystem::create_directories(Ledger()); }
    std::string Export(const std::string& bytes) {
        WriteFileBytes(dir_.File("eksp2kap.kpm"), bytes);
        return dir_.File("eksp2kap.kpm");
    }
    std::string Ledger() const { return dir_.File("FIRMA1"); }
    // As the engine names a period file: the directory, its separator, the name.
    std::string Period(const char* name) const { return Ledger() + kPathSeparator + name; }
    testing::TempDirectory dir_;
};

TEST_F(ReimportUndoCommandTest, SecondRunWarnsOnStderrAndBooksAgainOrSkips) {
    const std::string exportFile =
        Export(Document("20241105", "FV 1") + Document("20241106", "FV 2"));
    const auto first = Cli({"convert", exportFile, Ledger()});
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.err, "");

    const auto again = Cli({"convert", exportFile, Ledger()});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, first.out);  // the trace is the description's, word for word
    EXPECT_EQ(again.err,
              "trevo2kpr-cli convert: dokument \"FV 1\" (wiersz 1) jest już w KPR: " +
                  Period("2024ORMEK.11") +
                  ", pozycja 1\n"
                  "trevo2kpr-cli convert: dokument \"FV 2\" (wiersz 2) jest już w KPR: " +
                  Period("2024ORMEK.11") + ", pozycja 2\n");
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")).size(), 4 * 400u);

    const auto skipped = Cli({"convert", "--skip-booked", exportFile, Ledger()});
    EXPECT_EQ(skipped.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")).size(), 4 * 400u);
    EXPECT_EQ(Lines(skipped.out, "* Dokument nr \"FV 1\" jest już w KPR (" +
                                     Period("2024ORMEK.11") + ", pozycja 1) - pominięty"),
              1u);
    EXPECT_EQ(Lines(skipped.out, "* Dokument nr:"), 0u);
    EXPECT_EQ(Lines(skipped.out, " *** Ilość dokumentów 0"), 1u);
    EXPECT_EQ(Lines(skipped.err, "trevo2kpr-cli convert: dokument"), 2u);
}

TEST_F(ReimportUndoCommandTest, ExportListingADocumentTwiceBooksBoth) {
    const auto result =
        Cli({"convert", "--skip-booked",
             Export(Document("20241105", "FV 1") + Document("20241105", "FV 1")), Ledger()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")).size(), 2 * 400u);
    EXPECT_EQ(Lines(result.out, " *** Ilość dokumentów 2"), 1u);
}

TEST_F(ReimportUndoCommandTest, CheckOnlyReportsBookedDocumentsWithoutWriting) {
    const std::string exportFile = Export(Document("20241105", "FV 1"));
    Cli({"convert", exportFile, Ledger()});
    const std::string before = ReadFileBytes(Period("2024ORMEK.11"));
    const auto check = Cli({"convert", "--check", exportFile, Ledger()});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(Lines(check.err, "trevo2kpr-cli convert: dokument \"FV 1\""), 1u);
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")), before);
    const auto noDir = Cli({"convert", "--check", exportFile});
    EXPECT_EQ(noDir.err, "");
}

TEST_F(ReimportUndoCommandTest, SummaryInWordsAndAsJsonAgreeWithTheTrace) {
    testing::SyntheticExportOptions options;
    options.documents = 50;
    options.firstMonth = 11;
    testing::WriteSyntheticExport(dir_.File("sample.kpm"), options);
    const std::string json = dir_.File("summary.json");
    const auto result = testing::RunProcess(
        TREVO_CLI_PATH,
        {"convert", "--summary", "--summary-json", json, dir_.File("sample.kpm"), Ledger()},
        {"LC_ALL=C", "LC_MONETARY=C"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find(" *** Podsumowanie ***\n"), std::string::npos);
    EXPECT_NE(result.err.find("Odrzucone dokumenty: 1\n  wiersz 18: \"FV 18/11/2024\" - błędny "
                              "TYP(8)=2\n"),
              std::string::npos);
    EXPECT_NE(result.err.find("NIP z błędną sumą kontrolną (ostrzeżenie): 1\n  wiersz 42:"),
              std::string::npos);

    const auto summary = testing::ParseJson(ReadFileBytes(json));
    ASSERT_TRUE(summary);
    // Sum the trace's amount lines, " z dnia D-M-Y na kwotę netto:N vat:V", in grosze.
    long long netto = 0;
    long long vat = 0;
    const auto grosze = [](std::string_view text) {
        return std::llround(std::stod(std::string(text)) * 100);
    };
    for (std::size_t at = result.out.find("netto:"); at != std::string::npos;
         at = result.out.find("netto:", at + 1)) {
        const std::size_t v = result.out.find(" vat:", at);
        const std::size_t end = result.out.find('\n', v);
        netto += grosze(std::string_view(result.out).substr(at + 6, v - at - 6));
        vat += grosze(std::string_view(result.out).substr(v + 5, end - v - 5));
    }
    long long jsonNetto = 0;
    long long jsonVat = 0;
    long long documents = 0;
    for (const auto& period : (*summary)["periodFiles"].items) {
        jsonNetto += std::llround(period["netto"].Number() * 100);
        jsonVat += std::llround(period["vat"].Number() * 100);
        documents += period["documents"].Integer();
        EXPECT_EQ(period["recordsAfter"].Integer() - period["recordsBefore"].Integer(),
                  period["documents"].Integer());
        EXPECT_EQ(ReadFileBytes(period["file"].text).size(),
                  static_cast<std::size_t>(period["recordsAfter"].Integer()) * 400);
    }
    EXPECT_EQ(jsonNetto, netto);
    EXPECT_EQ(jsonVat, vat);
    EXPECT_EQ(documents, 49);
    EXPECT_EQ((*summary)["documentCount"].Integer(), 49);
    EXPECT_EQ((*summary)["rejected"][0]["docNumber"].text, "FV 18/11/2024");
    EXPECT_EQ((*summary)["nipChecksumWarnings"].items.size(), 1u);
    EXPECT_EQ((*summary)["nipChecksumWarnings"][0]["line"].Integer(), 42);
}

// Polish letters in a document number read the same in the trace, the stderr line and the
// summary, whichever code page the ledger keeps them in.
TEST_F(ReimportUndoCommandTest, ADocumentNumberWithPolishLettersReadsTheSameEverywhere) {
    const std::string number = testing::Win1250("FV/ŻÓŁ/1");
    const std::string exportPath = Export(Document("20241105", number.c_str()));
    for (const char* codePage : {"mazovia", "852"}) {
        SCOPED_TRACE(codePage);
        std::filesystem::remove_all(Ledger());
        std::filesystem::create_directories(Ledger());
        ASSERT_EQ(Cli({"convert", "--code-page", codePage, exportPath, Ledger()}).exitCode, 0);
        const auto again = Cli({"convert", "--code-page", codePage, "--summary", "--summary-json",
                                "-", exportPath, Ledger()});
        EXPECT_EQ(again.exitCode, 0);
        EXPECT_NE(again.out.find("* Dokument nr:FV/ŻÓŁ/1  | Firma:"), std::string::npos)
            << again.out;
        EXPECT_NE(again.err.find("dokument \"FV/ŻÓŁ/1\" (wiersz 1) jest już w KPR"),
                  std::string::npos);
        EXPECT_NE(again.err.find("  wiersz 1: \"FV/ŻÓŁ/1\" - "), std::string::npos);
        EXPECT_NE(again.out.find("\"docNumber\":\"FV/ŻÓŁ/1\""), std::string::npos);
    }
}

TEST_F(ReimportUndoCommandTest, StrictTurnsRejectionsAndZeroedValuesIntoExitThree) {
    const std::string good = Export(Document("20241105", "FV 1"));
    EXPECT_EQ(Cli({"convert", "--strict", good, Ledger()}).exitCode, 0);
    const std::string zeroed = Export(Document("20241105", "FV 2", "x"));
    EXPECT_EQ(Cli({"convert", "--strict", "--check", zeroed}).exitCode, 3);
    EXPECT_EQ(Cli({"convert", "--check", zeroed}).exitCode, 0);
    const std::string rejected =
        Export(testing::ExportLineBuilder().Date("20241105").Type("5").Line());
    EXPECT_EQ(Cli({"convert", "--strict", rejected, Ledger()}).exitCode, 3);
    // A document cut short is no document, but never passes unnoticed under --strict.
    const std::string cut = Export(Document("20241105", "FV 4").substr(0, 400) + "\r\n");
    EXPECT_EQ(Cli({"convert", "--check", cut}).exitCode, 0);
    const auto strictCut = Cli({"convert", "--strict", "--summary", "--check", cut});
    EXPECT_EQ(strictCut.exitCode, 3);
    EXPECT_NE(strictCut.err.find("  wiersz 1: 400 znaków\n"), std::string::npos) << strictCut.err;
    // A stopped run stays a stopped run.
    std::filesystem::create_directory(Period("2024ORMEK.12"));
    EXPECT_EQ(
        Cli({"convert", "--strict", Export(Document("20241201", "FV 3", "x")), Ledger()}).exitCode,
        1);
}

TEST_F(ReimportUndoCommandTest, SummaryJsonThatCannotBeWrittenFailsTheCommand) {
    // A device that takes nothing: the run stands, the command fails.
    const auto result = Cli({"convert", "--check", "--summary-json", "/dev/full",
                             Export(Document("20241105", "FV 1"))});
    EXPECT_EQ(result.exitCode, 1);
    // Why, in the user's words from the file layer's one table, not the system's English.
    EXPECT_NE(result.err.find("/dev/full\": brak miejsca na dysku"), std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("(BEZ ZAPISU ) ***\n"), std::string::npos);
}

TEST_F(ReimportUndoCommandTest, UndoTakesBackOneRunAtATime) {
    WriteFileBytes(Period("2024ORMEK.11"), std::string(400, 'k') + "part");
    const std::string initial = ReadFileBytes(Period("2024ORMEK.11"));
    Cli({"convert", Export(Document("20241105", "FV 1")), Ledger()});
    const std::string afterFirst = ReadFileBytes(Period("2024ORMEK.11"));
    Cli({"convert", Export(Document("20241106", "FV 2") + Document("20241201", "FV 3")), Ledger()});

    const auto check = Cli({"undo", "--check", Ledger()});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_NE(check.out.find("2024ORMEK.12: zostałby usunięty"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Period("2024ORMEK.12")));

    const auto second = Cli({"undo", Ledger()});
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.out.find("2024ORMEK.11: skrócony z 1200 do 800 bajtów"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")), afterFirst);
    EXPECT_FALSE(std::filesystem::exists(Period("2024ORMEK.12")));

    const auto first = Cli({"undo", Ledger()});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.out.find("przywrócone bajty niepełnego rekordu: 4"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")), initial);

    const auto none = Cli({"undo", Ledger()});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "trevo2kpr-cli undo: w katalogu nie ma przebiegu do cofnięcia\n");
    EXPECT_EQ(Cli({"undo", dir_.File("brak")}).exitCode, 2);
    EXPECT_EQ(Cli({"undo"}).exitCode, 2);
}

// Undo's warning and its failure part way come as the windows word them, after the prefix in
// lower case; a Polish capital is left alone.
TEST(UndoDiagnosticTest, EngineSentencesGoOnInLowerCaseAfterThePrefix) {
    EXPECT_EQ(cli::DiagnosticLine("undo", testing::Win1250("Uwaga: plik ż")),
              "trevo2kpr-cli undo: uwaga: plik ż");
    EXPECT_EQ(cli::DiagnosticLine("undo", testing::Win1250("Cofanie przerwane: x")),
              "trevo2kpr-cli undo: cofanie przerwane: x");
    EXPECT_EQ(cli::DiagnosticLine("convert", testing::Win1250("Żaden")),
              "trevo2kpr-cli convert: Żaden");
}

TEST_F(ReimportUndoCommandTest, JournalThatCannotBeMadeIsSaidOnStderrAndTheRunStands) {
    WriteFileBytes(dir_.File("FIRMA1/trevo2KPR.dziennik"), "a file in the folder's place");
    const auto result = Cli({"convert", Export(Document("20241105", "FV 1")), Ledger()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err,
              "trevo2kpr-cli convert: nie udało się zapisać dziennika przebiegu w katalogu danych "
              "KPR - tego przebiegu nie da się cofnąć\n");
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")).size(), 400u);
    EXPECT_EQ(Cli({"undo", Ledger()}).exitCode, 1);
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")).size(), 400u);
}

TEST_F(ReimportUndoCommandTest, UndoRefusesAfterAnotherWriterAndChangesNothing) {
    Cli({"convert", Export(Document("20241105", "FV 1") + Document("20241201", "FV 2")), Ledger()});
    // Another converter run books after it.
    Cli({"convert", Export(Document("20241202", "FV 3")), Ledger()});
    std::filesystem::remove_all(dir_.File("FIRMA1/trevo2KPR.dziennik/0000000002"));
    const std::string november = ReadFileBytes(Period("2024ORMEK.11"));
    const std::string december = ReadFileBytes(Period("2024ORMEK.12"));
    const auto refused = Cli({"undo", Ledger()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("nic nie zmieniono: Plik " + Period("2024ORMEK.12") +
                               " nie kończy się rekordami tego przebiegu: ma 800 bajtów, przebieg "
                               "zostawił 400"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.11")), november);
    EXPECT_EQ(ReadFileBytes(Period("2024ORMEK.12")), december);
}

}  // namespace
}  // namespace trevo

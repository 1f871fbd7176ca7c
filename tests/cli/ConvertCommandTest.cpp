// The built trevo2kpr-cli, run as other tools run it.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/exportfile/ExportColumns.h"
#include "engine/files/FileSystem.h"
#include "testing/ExportLineBuilder.h"
#include "testing/ProcessRunner.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::ExportLineBuilder;
using testing::ReadFileBytes;
using testing::RunProcess;
using testing::WriteFileBytes;

testing::ProcessResult Cli(const std::vector<std::string>& args) {
    return RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
}

std::string Document(const char* date, const char* type = "0") {
    return ExportLineBuilder()
        .Date(date)
        .Number("FV 1")
        .Company(testing::Win1250("Łódź ") + "\x81")
        .Type(type)
        .Amount(export_columns::kNettoKpr, "1")
        .Amount(export_columns::kNetto1, "1")
        .Line();
}

class ConvertCommandTest : public ::testing::Test {
  protected:
    std::string Export(const std::string& bytes) {
        const std::string path = dir_.File("eksp2kap.kpm");
        WriteFileBytes(path, bytes);
        return path;
    }
    std::string Ledger() {
        const std::string path = dir_.File("FIRMA1");
        std::filesystem::create_directories(path);
        return path;
    }
    testing::TempDirectory dir_;
};

TEST_F(ConvertCommandTest, WritingRunPrintsTheTraceAsUtf8LinesAndExitsZero) {
    const auto result =
        Cli({"convert", "--attribute", "Ż", Export(Document("20240301") + "\r\n"), Ledger()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              " *** Rozpoczynam konwersję ...\n"
              "\n"
              "* Dokument nr:FV 1  | Firma:Łódź \u0081  | NIP:\n"
              " z dnia 1-3-2024 na kwotę netto:1.00 vat:0.00\n"
              "\n"
              "\n"
              "Osiągnięto fizyczny koniec pliku \n"
              " *** Ilość dokumentów 1\n"
              " *** Koniec przetwarzania ***\n");
    const std::string record = ReadFileBytes(dir_.File("FIRMA1/2024ORMEK.3"));
    ASSERT_EQ(record.size(), 400u);
    EXPECT_EQ(record[236], '\xAF');
}

TEST_F(ConvertCommandTest, CheckOnlyNeedsNoLedgerDirectoryAndWritesNothing) {
    const auto result =
        Cli({"convert", "--check", "--code-page", "852", Export(Document("20240301"))});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("(BEZ ZAPISU ) ***\n"), std::string::npos);
    const auto withDir =
        Cli({"convert", "--check", Export(Document("20240301")), dir_.File("none")});
    EXPECT_EQ(withDir.exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("none")));
}

TEST_F(ConvertCommandTest, StoppedRunExitsOneWithItsTraceComplete) {
    const std::string ledger = Ledger();
    std::filesystem::create_directory(ledger + "/2024ORMEK.3");
    const auto result = Cli({"convert", Export(Document("20240301")), ledger});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Błąd otwarcia pliku " + ledger + kPathSeparator + "2024ORMEK.3 !\n"),
              std::string::npos);
    EXPECT_TRUE(result.out.ends_with(" *** Koniec przetwarzania ***\n"));
}

TEST_F(ConvertCommandTest, MissingInputsAreUsageErrorsWithNothingOnStdout) {
    const auto noExport = Cli({"convert", dir_.File("brak.kpm"), Ledger()});
    EXPECT_EQ(noExport.exitCode, 2);
    EXPECT_EQ(noExport.out, "");
    EXPECT_TRUE(
        noExport.err.starts_with("Błąd otwarcia pliku epp \"" + dir_.File("brak.kpm") + "\"\n"));

    const auto noLedger = Cli({"convert", Export(Document("20240301")), dir_.File("brak")});
    EXPECT_EQ(noLedger.exitCode, 2);
    EXPECT_EQ(noLedger.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir_.File("brak")));

    const auto badOption = Cli({"convert", "--bogus", "x"});
    EXPECT_EQ(badOption.exitCode, 2);
    EXPECT_NE(badOption.err.find("--bogus"), std::string::npos);
    EXPECT_EQ(Cli({}).exitCode, 2);
    EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
}

TEST_F(ConvertCommandTest, TraceThatCannotBeWrittenIsNoSuccess) {
    const auto result =
        RunProcess(TREVO_CLI_PATH, {"convert", "--check", Export(Document("20240301"))},
                   {"LC_ALL=C"}, "/dev/full");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("nie udało się zapisać śladu"), std::string::npos);
}

TEST_F(ConvertCommandTest, HelpAndVersionGoToStdoutAndSucceed) {
    for (const char* option : {"--help", "-h", "help"}) {
        const auto result = Cli({option});
        EXPECT_EQ(result.exitCode, 0) << option;
        EXPECT_NE(result.out.find("trevo2kpr-cli convert [--check]"), std::string::npos);
        EXPECT_NE(result.out.find("Kod wyjścia"), std::string::npos);
        EXPECT_EQ(result.err, "");
    }
    for (const char* option : {"--version", "-V"}) {
        const auto result = Cli({option});
        EXPECT_EQ(result.exitCode, 0) << option;
        EXPECT_EQ(result.out, "trevo2kpr-cli " TREVO_VERSION "\n");
    }
    // Help wins over whatever else is on the line.
    const auto convertHelp = Cli({"convert", "--bogus", "--help"});
    EXPECT_EQ(convertHelp.exitCode, 0);
    EXPECT_NE(convertHelp.out.find("--attribute ZNAK"), std::string::npos);
}

TEST_F(ConvertCommandTest, HelpWithACommandWordGivesThatCommandsHelp) {
    for (const char* command : {"convert", "companies", "show", "verify", "undo"}) {
        const auto viaHelp = Cli({"help", command});
        EXPECT_EQ(viaHelp.exitCode, 0) << command;
        EXPECT_EQ(viaHelp.err, "") << command;
        EXPECT_EQ(viaHelp.out, Cli({command, "--help"}).out) << command;
        EXPECT_NE(viaHelp.out, Cli({"--help"}).out) << command;
    }
    const auto unknown = Cli({"help", "frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err,
              "trevo2kpr-cli: nieznane polecenie 'frobnicate'\nWięcej: trevo2kpr-cli --help\n");
    EXPECT_EQ(Cli({"help", "show", "verify"}).exitCode, 2);
}

TEST_F(ConvertCommandTest, UsageErrorIsOnePolishLineAndAHint) {
    const auto result = Cli({"convert", "--code-page", "437", "e.kpm", "d"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "trevo2kpr-cli convert: opcja '--code-page' przyjmuje mazovia albo 852, nie '437'\n"
              "Więcej: trevo2kpr-cli convert --help\n");
    EXPECT_EQ(Cli({"frobnicate"}).err,
              "trevo2kpr-cli: nieznane polecenie 'frobnicate'\nWięcej: trevo2kpr-cli --help\n");
    EXPECT_EQ(Cli({}).err, "trevo2kpr-cli: brak polecenia\nWięcej: trevo2kpr-cli --help\n");
    EXPECT_EQ(Cli({"convert", "--check=yes", "e.kpm"}).err,
              "trevo2kpr-cli convert: opcja '--check' nie przyjmuje wartości\n"
              "Więcej: trevo2kpr-cli convert --help\n");
}

}  // namespace
}  // namespace trevo

// When a path given to the command line cannot be opened, its own messages say why, in Polish;
// the trace's fixed line for the export stays as it is, the reason follows on a line of its own.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "testing/ProcessRunner.h"
#include "testing/TempDirectory.h"

namespace trevo {
namespace {

using testing::RunProcess;
using testing::WriteFileBytes;

testing::ProcessResult Cli(const std::vector<std::string>& args) {
    return RunProcess(TREVO_CLI_PATH, args, {"LC_ALL=C"});
}

class OpenFailureMessagesTest : public ::testing::Test {
  protected:
    std::string File(const std::string& name) {
        const std::string path = dir_.File(name);
        WriteFileBytes(path, "x");
        return path;
    }
    std::string Directory(const std::string& name) {
        const std::string path = dir_.File(name);
        std::filesystem::create_directories(path);
        return path;
    }
    testing::TempDirectory dir_;
};

TEST_F(OpenFailureMessagesTest, TheExportsFixedLineIsFollowedByTheReason) {
    const std::string ledger = Directory("FIRMA1");
    const std::string missing = dir_.File("brak.kpm");
    const auto noFile = Cli({"convert", missing, ledger});
    EXPECT_EQ(noFile.exitCode, 2);
    EXPECT_EQ(noFile.out, "");
    EXPECT_EQ(noFile.err, "Błąd otwarcia pliku epp \"" + missing + "\"\ntrevo2kpr-cli convert: \"" +
                              missing + "\": nie ma takiego pliku ani katalogu\n");

    const std::string folder = Directory("eksport");
    const auto aFolder = Cli({"convert", "--check", folder});
    EXPECT_EQ(aFolder.exitCode, 2);
    EXPECT_EQ(aFolder.err, "Błąd otwarcia pliku epp \"" + folder + "\"\ntrevo2kpr-cli convert: \"" +
                               folder + "\": to jest katalog, nie plik\n");

    const std::string underAFile = File("plik") + "/eksp2kap.kpm";
    EXPECT_NE(
        Cli({"convert", "--check", underAFile}).err.find("\": część ścieżki nie jest katalogiem\n"),
        std::string::npos);
}

TEST_F(OpenFailureMessagesTest, ALedgerDirectoryThatIsAFileIsNotCalledMissing) {
    const std::string export_ = File("eksp2kap.kpm");
    const std::string notADirectory = File("FIRMA1");
    const auto convert = Cli({"convert", export_, notADirectory});
    EXPECT_EQ(convert.exitCode, 2);
    EXPECT_EQ(convert.err, "trevo2kpr-cli convert: nie można otworzyć katalogu danych KPR \"" +
                               notADirectory + "\": to nie jest katalog\n");
    const auto undo = Cli({"undo", notADirectory});
    EXPECT_EQ(undo.exitCode, 2);
    EXPECT_EQ(undo.err, "trevo2kpr-cli undo: nie można otworzyć katalogu danych KPR \"" +
                            notADirectory + "\": to nie jest katalog\n");
    const auto verify = Cli({"verify", notADirectory});
    EXPECT_EQ(verify.exitCode, 2);
    EXPECT_EQ(verify.err, "trevo2kpr-cli verify: nie można odczytać katalogu \"" + notADirectory +
                              "\": to nie jest katalog\n");

    const std::string missing = dir_.File("brak");
    EXPECT_EQ(Cli({"convert", export_, missing}).err,
              "trevo2kpr-cli convert: katalog danych KPR \"" + missing + "\" nie istnieje\n");
    EXPECT_EQ(Cli({"verify", missing}).err, "trevo2kpr-cli verify: nie można odczytać katalogu \"" +
                                                missing +
                                                "\": nie ma takiego pliku ani katalogu\n");
}

TEST_F(OpenFailureMessagesTest, ShowAndCompaniesNameTheReason) {
    const std::string folder = Directory("2024ORMEK.3");
    const auto show = Cli({"show", folder});
    EXPECT_EQ(show.exitCode, 2);
    EXPECT_EQ(show.err, "trevo2kpr-cli show: nie można odczytać pliku \"" + folder +
                            "\": to jest katalog, nie plik\n");
    const std::string missing = dir_.File("brak.dat");
    EXPECT_EQ(Cli({"show", missing}).err, "trevo2kpr-cli show: nie można odczytać pliku \"" +
                                              missing + "\": nie ma takiego pliku ani katalogu\n");
    const auto companies = Cli({"companies", folder});
    EXPECT_EQ(companies.exitCode, 2);
    EXPECT_EQ(companies.err, "trevo2kpr-cli companies: nie można odczytać listy firm \"" + folder +
                                 "\": to jest katalog, nie plik\n");
    EXPECT_EQ(Cli({"companies", missing}).err,
              "trevo2kpr-cli companies: lista firm \"" + missing + "\" nie istnieje\n");
}

// The superuser reads everything, so the permission case needs an ordinary user.
TEST_F(OpenFailureMessagesTest, APermissionProblemIsNotAMissingFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser is never refused";
    }
    const std::string locked = File("eksp2kap.kpm");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    const auto result = Cli({"convert", "--check", locked});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "Błąd otwarcia pliku epp \"" + locked + "\"\ntrevo2kpr-cli convert: \"" +
                              locked + "\": brak uprawnień\n");
    const std::string lockedDir = Directory("FIRMA1");
    ASSERT_EQ(::chmod(lockedDir.c_str(), 0), 0);
    EXPECT_EQ(Cli({"verify", lockedDir}).err,
              "trevo2kpr-cli verify: nie można odczytać katalogu \"" + lockedDir +
                  "\": brak uprawnień\n");
    ::chmod(lockedDir.c_str(), 0700);
}

}  // namespace
}  // namespace trevo

#include <gtest/gtest.h>

#include "companies/LedgerDirectoryChoice.h"
#include "engine/files/FileSystem.h"

namespace trevo {
namespace {

std::string Path(std::initializer_list<std::string_view> parts) {
    std::string path;
    for (const std::string_view part : parts) {
        if (!path.empty() || part.empty()) {
            path += kPathSeparator;
        }
        path += part;
    }
    return path;
}

TEST(LedgerDirectoryChoice, TheCurrentKatalogIsTheLastComponentCutToEight) {
    EXPECT_EQ(CurrentKatalogOf(Path({"", "kpr", "FIRMA1"})), "FIRMA1");
    EXPECT_EQ(CurrentKatalogOf(Path({"", "kpr", "FIRMA123456"})), "FIRMA123");
    EXPECT_EQ(CurrentKatalogOf("FIRMA1"), "FIRMA1");
    EXPECT_EQ(CurrentKatalogOf(Path({"", "kpr", ""})), "");
    EXPECT_EQ(CurrentKatalogOf(""), "");
}

TEST(LedgerDirectoryChoice, TheNewDirectoryIsTheListsDirectoryAndTheKatalog) {
    EXPECT_EQ(ChosenLedgerDirectory(Path({"", "kpr", "spisfirm.dat"}), "FIRMA2"),
              Path({"", "kpr", "FIRMA2"}));
    // A bare name has no directory part: the Katalog alone.
    EXPECT_EQ(ChosenLedgerDirectory("spisfirm.dat", "FIRMA2"), "FIRMA2");
    // An empty table gives the directory part alone.
    EXPECT_EQ(ChosenLedgerDirectory(Path({"", "kpr", "spisfirm.dat"}), ""), Path({"", "kpr", ""}));
}

#ifdef _WIN32
// Windows takes either slash, and a drive prefix alone, as the end of the directory part.
TEST(LedgerDirectoryChoice, OnWindowsEitherSlashAndADriveEndTheDirectory) {
    EXPECT_EQ(CurrentKatalogOf("C:/kpr/FIRMA1"), "FIRMA1");
    EXPECT_EQ(CurrentKatalogOf("C:\\kpr/dane\\FIRMA2"), "FIRMA2");
    EXPECT_EQ(ChosenLedgerDirectory("C:\\kpr\\biuro/spisfirm.dat", "F1"), "C:\\kpr\\biuro/F1");
    EXPECT_EQ(ChosenLedgerDirectory("c:spisfirm.dat", "F1"), "c:F1");
}
#endif

}  // namespace
}  // namespace trevo

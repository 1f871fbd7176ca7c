#include "desktop/InputChecks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/files/FileSystem.h"
#include "testing/TempDirectory.h"

namespace trevo::desktop {
namespace {

class InputChecksTest : public ::testing::Test {
  protected:
    InputChecksTest() {
        std::filesystem::create_directory(dir_.Path() / "FIRMA1");
        testing::WriteFileBytes(dir_.File("eksp2kap.kpm"), "x");
        inputs_.exportPath = dir_.File("eksp2kap.kpm");
        inputs_.ledgerDir = dir_.File("FIRMA1");
    }
    std::optional<InputRefusal> Check() { return CheckConversionInputs(inputs_, files_); }

    testing::TempDirectory dir_;
    FileSystem& files_ = LocalFileSystem();
    ConversionInputTexts inputs_;
};

TEST_F(InputChecksTest, GoodInputsPass) {
    EXPECT_FALSE(Check());
    inputs_.attributeLetter = "Ż";
    inputs_.registerLetter = "r";
    EXPECT_FALSE(Check());
}

TEST_F(InputChecksTest, ExportBoxNamesTheReason) {
    const auto expect = [this](const std::string& path, const std::string& message) {
        inputs_.exportPath = path;
        const auto refusal = Check();
        ASSERT_TRUE(refusal) << path;
        EXPECT_EQ(refusal->box, InputBox::ExportFile);
        EXPECT_EQ(refusal->message, message);
        EXPECT_EQ(refusal->message.substr(0, refusal->keptWhole),
                  message.substr(0, message.find(": ", 18)));
    };
    expect("", "Plik Exp2Kap.kpm: nie wskazano pliku eksportu");
    expect(dir_.File("brak.kpm"),
           "Plik Exp2Kap.kpm: nie ma takiego pliku: " + dir_.File("brak.kpm"));
    expect(dir_.File("FIRMA1"), "Plik Exp2Kap.kpm: to katalog, nie plik: " + dir_.File("FIRMA1"));
    // Quoted as the file chooser leaves it: no file by that name.
    expect('"' + inputs_.exportPath + '"',
           "Plik Exp2Kap.kpm: nie ma takiego pliku: \"" + inputs_.exportPath + '"');
}

TEST_F(InputChecksTest, PathOutsideWindows1250IsRefusedEvenWhenItsQuestionMarkTwinExists) {
    // The engine would name "?" for the Cyrillic letter; such a file must not be taken.
    testing::WriteFileBytes(dir_.File("?.kpm"), "x");
    std::filesystem::create_directory(dir_.Path() / "?");
    inputs_.exportPath = dir_.File("Ж.kpm");
    auto refusal = Check();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message,
              "Plik Exp2Kap.kpm: ścieżka ma znaki spoza Windows-1250: " + dir_.File("Ж.kpm"));

    inputs_.exportPath = dir_.File("eksp2kap.kpm");
    inputs_.ledgerDir = dir_.File("Ж");
    refusal = Check();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->box, InputBox::LedgerDirectory);
    EXPECT_EQ(refusal->message,
              "Katalog danych KPR: ścieżka ma znaki spoza Windows-1250: " + dir_.File("Ж"));
    // A check-only run reads the directory's files too.
    inputs_.checkOnly = true;
    EXPECT_TRUE(Check());
}

TEST_F(InputChecksTest, LedgerDirectoryOnlyForWritingRuns) {
    for (const auto& [path, reason] :
         {std::pair{std::string(), std::string("nie wskazano katalogu")},
          std::pair{dir_.File("NOPE"), "nie ma takiego katalogu: " + dir_.File("NOPE")},
          std::pair{dir_.File("eksp2kap.kpm"),
                    "to plik, nie katalog: " + dir_.File("eksp2kap.kpm")}}) {
        inputs_.ledgerDir = path;
        inputs_.checkOnly = false;
        const auto refusal = Check();
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->box, InputBox::LedgerDirectory);
        EXPECT_EQ(refusal->message, "Katalog danych KPR: " + reason);
        EXPECT_EQ(CheckLedgerDirectory(path, files_)->message, refusal->message);
        inputs_.checkOnly = true;
        EXPECT_FALSE(Check()) << path;
    }
}

TEST_F(InputChecksTest, LettersOutsideWindows1250AreRefusedBoxByBox) {
    inputs_.attributeLetter = "Ж";
    auto refusal = Check();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->box, InputBox::AttributeLetter);
    EXPECT_EQ(refusal->message, "Atrybut KPR: to nie jest znak Windows-1250: \"Ж\"");

    inputs_.attributeLetter = "A";
    inputs_.registerLetter = "€";  // in the code page (0x80)
    EXPECT_FALSE(Check());
    inputs_.registerLetter = "😀";
    refusal = Check();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->box, InputBox::RegisterLetter);
    EXPECT_EQ(refusal->message, "Rejestr( ): to nie jest znak Windows-1250: \"😀\"");

    // The export comes first.
    inputs_.exportPath.clear();
    EXPECT_EQ(Check()->box, InputBox::ExportFile);
}

TEST(LetterByteTest, OneCharacterOfTheCodePage) {
    EXPECT_EQ(LetterByte(""), '\0');
    EXPECT_EQ(LetterByte("a"), 'a');
    EXPECT_EQ(LetterByte("ł"), '\xB3');
    EXPECT_EQ(LetterByte("Ж"), std::nullopt);
    EXPECT_EQ(LetterByte("ab"), std::nullopt);
    EXPECT_EQ(LetterByte("\xB3"), std::nullopt);  // not UTF-8
}

}  // namespace
}  // namespace trevo::desktop

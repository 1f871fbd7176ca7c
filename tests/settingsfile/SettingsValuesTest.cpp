#include <gtest/gtest.h>

#include "settingsfile/FormSectionKeys.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsValues.h"

namespace trevo::settings {
namespace {

TEST(IntegerValues, ReadWriteAndMessage) {
    EXPECT_EQ(IntegerValueText(-120), "-120");
    EXPECT_EQ(ReadIntegerValue("-120"), -120);
    EXPECT_EQ(ReadIntegerValue("2147483647"), 2147483647);
    EXPECT_FALSE(ReadIntegerValue("2147483648"));
    EXPECT_FALSE(ReadIntegerValue(""));
    EXPECT_FALSE(ReadIntegerValue("1x"));
    EXPECT_FALSE(ReadIntegerValue("abc"));
    EXPECT_EQ(InvalidIntegerMessage("abc"), "'abc' is not a valid integer value");
}

TEST(BooleanValues, WordsAndIntegers) {
    EXPECT_EQ(BooleanValueText(true), "TRUE");
    EXPECT_EQ(BooleanValueText(false), "FALSE");
    for (const char* yes : {"TRUE", "true", "Yes", "y", "1", "-7", "$10"}) {
        EXPECT_EQ(ReadBooleanValue(yes), true) << yes;
    }
    for (const char* no : {"FALSE", "fAlSe", "no", "N", "0", ""}) {
        EXPECT_EQ(ReadBooleanValue(no), false) << no;
    }
    for (const char* neither : {"maybe", "T", "ye", "1.0", "TRUE "}) {
        EXPECT_FALSE(ReadBooleanValue(neither)) << neither;
    }
}

TEST(PositionValues, FormatAndWords) {
    EXPECT_EQ(PositionText({-1, -1, 100, 2000}), "-1,-1,100,2000");
    EXPECT_EQ(ReadPositionWords("10,20,472,466"), (PositionWords{10, 20, 472, 466}));
    // Runs of commas separate like one; missing and unreadable words are 0.
    EXPECT_EQ(ReadPositionWords(",,5,,x,7"), (PositionWords{5, 0, 7, 0}));
    EXPECT_EQ(ReadPositionWords(""), (PositionWords{0, 0, 0, 0}));
    EXPECT_EQ(PositionWord("a,b,c", 3), "c");
    EXPECT_EQ(PositionWord("a,b,c", 4), "");
    EXPECT_EQ(PositionWord("a,b,c", 0), "");
}

TEST(FormSectionNames, SuffixShowStateAndStoredProps) {
    EXPECT_EQ(ScreenSizeSuffix(1024, 768), "(1024x768)");
    for (int normal : {0, 1, 4, 5, 8, 9, 10, -1}) {
        EXPECT_EQ(ShowStateOf(normal), ShowState::Normal) << normal;
    }
    for (int minimized : {2, 6, 7}) {
        EXPECT_EQ(ShowStateOf(minimized), ShowState::Minimized) << minimized;
    }
    EXPECT_EQ(ShowStateOf(3), ShowState::Maximized);

    const auto name = SplitStoredProp("FilenameEdit.FileName");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->control, "FilenameEdit");
    EXPECT_EQ(name->property, "FileName");
    EXPECT_EQ(name->key, "FilenameEdit_FileName");
    EXPECT_FALSE(SplitStoredProp("NoDot"));
    EXPECT_FALSE(SplitStoredProp(".Text"));
    EXPECT_FALSE(SplitStoredProp("Edit."));
}

TEST(KeyCase, PolishLettersFold) {
    // ą ć ę ł ń ó ś ź ż against Ą Ć Ę Ł Ń Ó Ś Ź Ż.
    EXPECT_EQ(FoldKey("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF"),
              "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
    EXPECT_EQ(FoldKey("FormVersion"), "FORMVERSION");
    // ß has no capital, ÷ and ˙ are no letters, ţ folds to Ţ.
    EXPECT_EQ(FoldKey("\xDF\xF7\xFF\xFE"), "\xDF\xF7\xFF\xDE");
}

}  // namespace
}  // namespace trevo::settings

#include "settingsfile/SettingsFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/text/Win1250Literal.h"

namespace trevo::settings {
namespace {

using namespace trevo::literals;

TEST(SettingsFileReading, FollowsTheLineRules) {
    const SettingsFile file = SettingsFile::Parse(
        "orphan=before any section\r\n"
        "  [ MAIN ]  \r\n"
        "; a comment\r\n"
        "\r\n"
        "\t Key One = a=b \r\n"
        "no equals sign here\r\n"
        "=empty key\n"
        "[Second]\r"
        "x=1");
    EXPECT_EQ(file.SectionCount(), 2u);
    EXPECT_FALSE(file.Get("MAIN", "orphan"));
    EXPECT_EQ(file.Get("MAIN", "Key One"), "a=b");
    EXPECT_EQ(file.Get("MAIN", ""), "empty key");
    EXPECT_EQ(file.Get("Second", "x"), "1");
    EXPECT_FALSE(file.Get("MAIN", "; a comment"));
    EXPECT_FALSE(file.Get("Third", "x"));
    // The line without "=" is kept in place; comments and the orphan are gone.
    EXPECT_EQ(file.Serialize(),
              "[MAIN]\r\nKey One=a=b\r\nno equals sign here\r\n=empty key\r\n\r\n"
              "[Second]\r\nx=1\r\n\r\n");
}

TEST(SettingsFileReading, ComparesNamesWithoutLetterCase) {
    const SettingsFile file =
        SettingsFile::Parse("[Łódź]\r\nŻółw_Text=1\r\n[main]\r\nfe_epp_text=v\r\n"_w1250);
    EXPECT_EQ(file.Get("ŁÓDŹ"_w1250, "żÓŁW_TEXT"_w1250), "1");
    EXPECT_EQ(file.Get("MAIN", "FE_EPP_Text"), "v");
    // The division sign is no letter: 0xF7 and 0xD7 stay apart.
    EXPECT_FALSE(SettingsFile::Parse("[a\xF7]\r\nk=1\r\n").HasSection("a\xD7"));
}

TEST(SettingsFileReading, TheFirstOfTwoEqualNamesCounts) {
    SettingsFile file = SettingsFile::Parse("[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\n");
    EXPECT_EQ(file.Get("A", "k"), "1");
    file.Set("a", "K", "9");
    EXPECT_EQ(file.Serialize(), "[A]\r\nK=9\r\nK=2\r\n\r\n[a]\r\nk=3\r\n\r\n");
}

TEST(SettingsFileWriting, SetReplacesInPlaceAndAppendsAtTheEnds) {
    SettingsFile file = SettingsFile::Parse("[A]\r\nfirst=1\r\nsecond=2\r\n[B]\r\nb=1\r\n");
    file.Set("a", "FIRST", "one");
    file.Set("A", "third", "3");
    file.Set("C", "c", "");
    EXPECT_EQ(file.Serialize(),
              "[A]\r\nFIRST=one\r\nsecond=2\r\nthird=3\r\n\r\n[B]\r\nb=1\r\n\r\n[C]\r\nc=\r\n\r\n");
}

TEST(SettingsFileWriting, ALineBreakCannotStartALineOfItsOwn) {
    SettingsFile file;
    file.Set("MAIN", "FE_EPP_Text", "x\r\n[MAIN]\r\nFormVersion=-1");
    const SettingsFile reread = SettingsFile::Parse(file.Serialize());
    EXPECT_EQ(reread.SectionCount(), 1u);
    EXPECT_FALSE(reread.Get("MAIN", "FormVersion"));
    EXPECT_EQ(reread.Get("MAIN", "FE_EPP_Text"), "x  [MAIN]  FormVersion=-1");
}

TEST(SettingsFileWriting, BlanksAroundAValueDoNotSurviveReading) {
    SettingsFile file;
    file.Set("MAIN", "Edit_REJ_Text", "  A  ");
    EXPECT_EQ(SettingsFile::Parse(file.Serialize()).Get("MAIN", "Edit_REJ_Text"), "A");
}

TEST(SettingsFileWriting, CopySectionReplacesOnlyThatSection) {
    SettingsFile disk = SettingsFile::Parse("[MAIN]\r\nold=1\r\n[SPISFIRM]\r\nf=disk\r\n");
    const SettingsFile copy = SettingsFile::Parse("[SPISFIRM]\r\nf=stale\r\n[main]\r\nnew=2\r\n");
    disk.CopySectionFrom(copy, "MAIN");
    EXPECT_EQ(disk.Serialize(), "[main]\r\nnew=2\r\n\r\n[SPISFIRM]\r\nf=disk\r\n\r\n");
    disk.CopySectionFrom(copy, "absent");
    SettingsFile empty;
    empty.CopySectionFrom(copy, "SPISFIRM");
    EXPECT_EQ(empty.Serialize(), "[SPISFIRM]\r\nf=stale\r\n\r\n");
    EXPECT_EQ(empty.Get("spisfirm", "F"), "stale");
}

TEST(SettingsFileScale, ManySectionsAndLongLines) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) {
        bytes += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    }
    const std::string longValue(1 << 20, 'x');
    bytes += "[Long]\r\nk=" + longValue + "\r\n" + std::string(1 << 20, ';') + "\r\n";
    SettingsFile file = SettingsFile::Parse(bytes);
    ASSERT_EQ(file.SectionCount(), 10001u);
    for (int i = 0; i < 10000; i += 997) {
        EXPECT_EQ(file.Get("s" + std::to_string(i), "K"), std::to_string(i));
    }
    EXPECT_EQ(file.Get("long", "k")->size(), longValue.size());
    for (int i = 0; i < 10000; ++i) {
        file.Set("New", "k" + std::to_string(i), "v");
    }
    EXPECT_EQ(file.Get("New", "K9999"), "v");
}

TEST(SettingsFileScale, RandomBytesReadAndWriteBackStably) {
    std::mt19937 random(1250);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> pick(0, 9);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < 2000; ++i) {
            // Enough structure for headers and entries to occur.
            const int p = pick(random);
            bytes += p == 0   ? '['
                     : p == 1 ? ']'
                     : p == 2 ? '='
                     : p == 3 ? '\n'
                              : char(byte(random));
        }
        const std::string once = SettingsFile::Parse(bytes).Serialize();
        EXPECT_EQ(SettingsFile::Parse(once).Serialize(), once);
    }
}

}  // namespace
}  // namespace trevo::settings

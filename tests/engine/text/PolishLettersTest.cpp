#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "engine/text/zdTransPL.h"
#include "testing/ExportLineBuilder.h"
#include "testing/SystemCodePage.h"

namespace trevo {
namespace {

using testing::Win1250;
constexpr auto kAscii = PolishCharset::pcAscii;
constexpr auto kMazovia = PolishCharset::pcMazovia;
constexpr auto kCp852 = PolishCharset::pcCp852;
constexpr auto kTwoChar = PolishCharset::pcTwoChar;
constexpr auto kIso = PolishCharset::pcIso88592;
constexpr auto kWin = PolishCharset::pcWin1250;

const char* const kLetters = "ąćęłńóśżźĄĆĘŁŃÓŚŻŹ";

std::string Row(PolishCharset code) {
    const auto& row = PolishLetterTable[static_cast<int>(code)];
    return std::string(reinterpret_cast<const char*>(row + 1), kPolishLetterCount);
}

TEST(PolishLetterTable, PublishedCodePagesMatchTheSystemsTables) {
    using testing::SystemCodePage;
    using testing::SystemEncode;
    EXPECT_EQ(Row(kCp852), SystemEncode(kLetters, SystemCodePage::Cp852));
    EXPECT_EQ(Row(kIso), SystemEncode(kLetters, SystemCodePage::Iso8859_2));
    EXPECT_EQ(Row(kWin), SystemEncode(kLetters, SystemCodePage::Windows1250));
    for (const auto& row : PolishLetterTable) {
        EXPECT_EQ(row[0], kPolishLetterCount);
    }
    EXPECT_EQ(Row(kAscii), "acelnoszzACELNOSZZ");
    EXPECT_EQ(Row(kTwoChar), ",',/''''`,',/'''-'");
}

TEST(PolishLetters, EachPositionIsConvertedOnce) {
    // ą becomes 165 in CP852, which is Ą in Windows-1250: it must not be converted again.
    EXPECT_EQ(FromWin1250("\xB9\xA5", kCp852), "\xA5\xA4");
}

TEST(PolishLetters, PhraseIntoMazoviaKeepsLengthAndOtherBytes) {
    const std::string phrase = Win1250("Zażółć gęślą jaźń");
    const std::string mazovia = FromWin1250(phrase, kMazovia);
    EXPECT_EQ(mazovia, "Za\xA7\xA2\x92\x8D g\x91\x9El\x86 ja\xA6\xA4");
    EXPECT_EQ(ToWin1250(mazovia, kMazovia), phrase);
    // Mazovia has no system table to compare with: the capitals are checked here.
    EXPECT_EQ(FromWin1250(Win1250("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"), kMazovia),
              "ZA\xA1\xA3\x9C\x95 G\x90\x98L\x8F JA\xA0\xA5");
}

TEST(PolishLetters, EveryLetterRoundTripsBetweenTheFullCodePages) {
    const std::string letters = Win1250(kLetters);
    for (const auto code : {kMazovia, kCp852, kIso, kWin}) {
        EXPECT_EQ(ToWin1250(FromWin1250(letters, code), code), letters);
    }
}

TEST(PolishLetters, AsciiLosesDiacriticsAndCannotRestoreThem) {
    EXPECT_EQ(FromWin1250(Win1250(kLetters), kAscii), "acelnoszzACELNOSZZ");
    EXPECT_EQ(ToWin1250("zaZ", kAscii), Win1250("żąŻ"));
}

TEST(PolishLetters, TwoCharacterFormPutsTheMarkFirst) {
    EXPECT_EQ(FromWin1250(Win1250("Łódź"), kTwoChar), "/L'od`z");
    EXPECT_EQ(ConvertPolishLetters("/L'o", kTwoChar, kWin), Win1250("łLćo"));
    EXPECT_EQ(ConvertPolishLetters("azAZ", kAscii, kTwoChar), "azAZ");
}

TEST(PolishLetters, BytesThatAreNoLetterOfTheSourcePassUnchanged) {
    EXPECT_EQ(FromWin1250("\x86", kMazovia), "\x86");  // dagger, though ą in Mazovia
    EXPECT_EQ(FromWin1250(Win1250("äüčš"), kMazovia), Win1250("äüčš"));
    EXPECT_EQ(ConvertPolishLetters("\x86", kMazovia, kCp852), "\xA5");
    EXPECT_EQ(ConvertPolishLetters("\x86", kCp852, kMazovia), "\x8D");
}

TEST(PolishLetters, EqualCodesAndEmptyTextsComeBackAsTheyAre) {
    EXPECT_EQ(ConvertPolishLetters("\x86\xA5", kMazovia, kMazovia), "\x86\xA5");
    for (int from = 0; from < kPolishCharsetCount; ++from) {
        for (int to = 0; to < kPolishCharsetCount; ++to) {
            EXPECT_EQ(ConvertPolishLetters("", static_cast<PolishCharset>(from),
                                           static_cast<PolishCharset>(to)),
                      "");
        }
    }
}

TEST(PolishLetters, EveryByteOfEveryPairFollowsTheLetterRows) {
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte) {
        allBytes += static_cast<char>(byte);
    }
    std::string reused = "left over from an earlier text";
    for (int from = 0; from < kPolishCharsetCount; ++from) {
        for (int to = 0; to < kPolishCharsetCount; ++to) {
            if (to == static_cast<int>(kTwoChar) && from != to && from != 0) {
                continue;  // the two-character form is longer; tested above
            }
            std::string expected;
            for (const char c : allBytes) {
                const auto& row = PolishLetterTable[from];
                const auto* found =
                    std::find(row + 1, row + 1 + kPolishLetterCount, static_cast<unsigned char>(c));
                const bool letter = found != row + 1 + kPolishLetterCount && from != to &&
                                    to != static_cast<int>(kTwoChar);
                expected += letter ? static_cast<char>(PolishLetterTable[to][found - row]) : c;
            }
            const auto source = static_cast<PolishCharset>(from);
            const auto target = static_cast<PolishCharset>(to);
            EXPECT_EQ(ConvertPolishLetters(allBytes, source, target), expected) << from << to;
            ConvertPolishLetters(allBytes, source, target, reused);
            EXPECT_EQ(reused, expected) << from << to;
        }
    }
}

TEST(PolishLetters, CodeAboveFiveIsAProgrammingError) {
    EXPECT_THROW(ConvertPolishLetters("a", static_cast<PolishCharset>(6), kWin), std::out_of_range);
}

}  // namespace
}  // namespace trevo

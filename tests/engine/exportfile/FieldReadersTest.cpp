#include <gtest/gtest.h>

#include <algorithm>

#include "engine/exportfile/FieldReaders.h"
#include "engine/platform/TraceSink.h"
#include "testing/ExportLineBuilder.h"
#include "testing/MemoryTraceSink.h"

namespace trevo {
namespace {

using testing::Win1250;
using Lines = std::vector<std::string>;

const std::string kBadYear = Win1250("Błąd określenia ROKU");
const std::string kBadMonth = Win1250("Błąd określenia MIESIĄCA");
const std::string kBadDay = Win1250("Błąd określenia DNIA");

class FieldReadersTest : public ::testing::Test {
  protected:
    // Reads from a line whose columns 1-20 hold `slice`.
    FieldReaders On(std::string_view slice, PolishCharset code = PolishCharset::pcMazovia) {
        line_ = std::string(slice) + std::string(510 - slice.size(), ' ');
        return FieldReaders(line_, code, trace_);
    }
    testing::MemoryTraceSink trace_;
    std::string line_;
};

TEST_F(FieldReadersTest, TextIsTrimmedOfControlCharactersButKeepsInnerOnes) {
    EXPECT_EQ(On("\t  a \x01 b \x1F").ReadText(1, 12), "a \x01 b");
    EXPECT_EQ(On("   ").ReadText(1, 3), "");
    EXPECT_EQ(On("abcdef").ReadText(2, 4), "bcd");
}

TEST(TrimControls, EveryByteUpTo32GoesFromBothEndsAndNoOtherByte) {
    // Bytes on both sides of the limit, and high bytes, in texts longer and shorter than the
    // eight bytes the padding is skipped by.
    const char bytes[] = {'\0', '\x01', '\x1F', ' ', '!', '\x7F', '\x80', '\xA0', '\xA1', '\xFF'};
    unsigned state = 2024;
    for (int round = 0; round < 20'000; ++round) {
        std::string text;
        state = state * 1103515245u + 12345u;
        const unsigned length = (state >> 16) % 26;
        for (unsigned i = 0; i < length; ++i) {
            state = state * 1103515245u + 12345u;
            const unsigned pick = (state >> 16) % 16;
            text += pick < sizeof bytes ? bytes[pick] : ' ';  // mostly padding
        }
        const auto kept = [](char c) { return static_cast<unsigned char>(c) > 32; };
        const auto first = std::find_if(text.begin(), text.end(), kept);
        const auto last = std::find_if(text.rbegin(), text.rend(), kept).base();
        const std::string expected = first < last ? std::string(first, last) : std::string();
        const std::string_view trimmed = TrimControls(text);
        ASSERT_EQ(trimmed, expected) << ::testing::PrintToString(text);
        // A view into the text itself, also when nothing is left: callers cut the text by it.
        ASSERT_GE(trimmed.data(), text.data()) << ::testing::PrintToString(text);
        ASSERT_LE(trimmed.data() + trimmed.size(), text.data() + text.size());
    }
}

TEST_F(FieldReadersTest, PolishTextGoesIntoTheLedgerCodePage) {
    const std::string text = Win1250(" Łódź ");
    EXPECT_EQ(On(text, PolishCharset::pcMazovia).ReadTextPL(1, 6),
              "\x9C\xA2"
              "d\xA6");
    EXPECT_EQ(On(text, PolishCharset::pcCp852).ReadTextPL(1, 6),
              "\x9D\xA2"
              "d\xAB");
}

TEST_F(FieldReadersTest, NumbersReportFaultsAndReadAsZero) {
    EXPECT_EQ(On("  123  ").ReadInteger(1, 7), 123);
    EXPECT_EQ(On("12 3").ReadInteger(1, 4), 0);
    EXPECT_EQ(On("    ").ReadInteger(1, 4), 0);
    EXPECT_EQ(On("1 234.56").ReadDouble(1, 8), 0.0);
    EXPECT_EQ(On("   ").ReadDouble(1, 3), 0.0);
    EXPECT_EQ(On("$FF").ReadByte(1, 3), 255);
    EXPECT_EQ(On("-1").ReadByte(1, 2), 0);
    EXPECT_EQ(On(" -0.5").ReadDouble(1, 5), -0.5);
    EXPECT_EQ(trace_.Lines(), (Lines{Win1250("Błąd określenia wartości INTEGER"),
                                     Win1250("Błąd określenia wartości DOUBLE"),
                                     Win1250("Błąd określenia wartości INTEGER")}));
}

TEST_F(FieldReadersTest, DateReadsYearMonthDayAndReportsEachBadPart) {
    EXPECT_EQ(On("20240315").ReadDate(1, 8), (RmdDate{15, 3, 2024}));
    EXPECT_TRUE(trace_.Lines().empty());

    EXPECT_EQ(On("2024").ReadDate(1, 8), (RmdDate{0, 0, 2024}));
    EXPECT_EQ(trace_.Lines(), (Lines{kBadMonth, kBadDay}));
    trace_.Clear();

    EXPECT_EQ(On("2024-1-2").ReadDate(1, 8), (RmdDate{254, 255, 2024}));
    EXPECT_TRUE(trace_.Lines().empty());

    EXPECT_EQ(On("20a81301").ReadDate(1, 8),
              (RmdDate{1, 13, 20}));  // not checked against a calendar
    EXPECT_EQ(trace_.Lines(), (Lines{kBadYear}));
    trace_.Clear();

    EXPECT_EQ(On("        ").ReadDate(1, 8), RmdDate{});
    EXPECT_TRUE(trace_.Lines().empty());

    // The bytes just below '0' and just above '9' in every place make that part unreadable.
    for (std::size_t at = 0; at < 8; ++at) {
        for (const char near : {'/', ':'}) {
            std::string text = "20240315";
            text[at] = near;
            trace_.Clear();
            On(text).ReadDate(1, 8);
            const std::string& bad = at < 4 ? kBadYear : at < 6 ? kBadMonth : kBadDay;
            EXPECT_EQ(trace_.Lines(), Lines{bad}) << text;
        }
    }
}

TEST(StreetPrefix, EveryUlGoesBeforeAnyAlWhereverItStands) {
    EXPECT_EQ(StripStreetPrefix(Win1250("ul. Długa 5")), Win1250("Długa 5"));
    EXPECT_EQ(StripStreetPrefix(Win1250("Al. Jana Pawła II 3")), Win1250("Jana Pawła II 3"));
    EXPECT_EQ(StripStreetPrefix(Win1250("UL.AL. Róż")), Win1250("Róż"));
    EXPECT_EQ(StripStreetPrefix("Bul. Nowy"), "B Nowy");
    EXPECT_EQ(StripStreetPrefix("uL.Ogrodowa 7"), "Ogrodowa 7");
    EXPECT_EQ(StripStreetPrefix("Plac al. Ul. X"), "Plac   X");
}

TEST(StreetPrefix, TextsWithoutThePrefixComeBackUnchanged) {
    EXPECT_EQ(StripStreetPrefix("ULICA Długa "), "ULICA Długa ");
    EXPECT_EQ(StripStreetPrefix("ALEJA"), "ALEJA");
    EXPECT_EQ(StripStreetPrefix(""), "");
    EXPECT_EQ(StripStreetPrefix("ul."), "");
}

}  // namespace
}  // namespace trevo

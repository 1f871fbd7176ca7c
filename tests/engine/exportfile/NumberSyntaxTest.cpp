#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/exportfile/NumberSyntax.h"

namespace trevo {
namespace {

void ExpectInteger(std::string_view text, std::int32_t value, bool valid) {
    const IntegerParse parsed = ParseInteger(text);
    EXPECT_EQ(parsed.valid, valid) << "'" << text << "'";
    EXPECT_EQ(parsed.value, value) << "'" << text << "'";
}

TEST(IntegerSyntax, DecimalAndHexadecimalForms) {
    ExpectInteger("123", 123, true);
    ExpectInteger("  123", 123, true);
    ExpectInteger("-7", -7, true);
    ExpectInteger("+7", 7, true);
    ExpectInteger("007", 7, true);
    ExpectInteger("$1F", 31, true);
    ExpectInteger("x1f", 31, true);
    ExpectInteger("X1F", 31, true);
    ExpectInteger("0x1F", 31, true);
    ExpectInteger("0X1f", 31, true);
    ExpectInteger("-$10", -16, true);
    ExpectInteger("0", 0, true);
}

TEST(IntegerSyntax, ThirtyTwoBitLimits) {
    ExpectInteger("999999999", 999999999, true);
    ExpectInteger("0000000001", 1, true);
    ExpectInteger("2147483647", 2147483647, true);
    ExpectInteger("-2147483648", INT32_MIN, true);
    EXPECT_FALSE(ParseInteger("2147483648").valid);
    EXPECT_FALSE(ParseInteger("99999999999").valid);
    ExpectInteger("$FFFFFFFF", -1, true);  // the 32-bit pattern
    ExpectInteger("$000000001", 1, true);
    EXPECT_FALSE(ParseInteger("$100000000").valid);
}

TEST(IntegerSyntax, InvalidTextsKeepWhatWasReadBeforeTheFault) {
    ExpectInteger("12 3", 12, false);
    ExpectInteger("20a8", 20, false);
    ExpectInteger("A", 0, false);
    ExpectInteger("-", 0, false);
    ExpectInteger("+", 0, false);
    ExpectInteger("$", 0, false);
    ExpectInteger("0x", 0, false);
    ExpectInteger("", 0, false);
    ExpectInteger("  ", 0, false);
    ExpectInteger("\t1", 0, false);  // only code 32 counts as a leading space
    ExpectInteger("1.5", 1, false);
}

TEST(RealSyntax, AcceptedForms) {
    EXPECT_EQ(ParseReal("1234.56"), 1234.56);
    EXPECT_EQ(ParseReal("-0.5"), -0.5);
    EXPECT_EQ(ParseReal(".5"), 0.5);
    EXPECT_EQ(ParseReal("5."), 5.0);
    EXPECT_EQ(ParseReal("1E3"), 1000.0);
    EXPECT_EQ(ParseReal("1e-2"), 0.01);
    EXPECT_EQ(ParseReal("+2.5E+1"), 25.0);
    EXPECT_EQ(ParseReal("."), 0.0);
    EXPECT_EQ(ParseReal("  7"), 7.0);
    EXPECT_EQ(ParseReal("10.01"), 10.01);  // nearest binary64, as the compiler rounds it
}

// The short way for the usual amounts gives the correctly rounded value, as the long one does.
TEST(RealSyntax, UsualAmountsReadAsTheCorrectlyRoundedValue) {
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 100'000; ++i) {
        std::string text = next() % 4 == 0 ? "-" : "";
        const std::size_t integer = next() % 14;
        const std::size_t fraction = std::max<std::size_t>(next() % (16 - integer), integer == 0);
        for (std::size_t d = 0; d < integer; ++d) {
            text += static_cast<char>('0' + next() % 10);
        }
        text += '.';
        for (std::size_t d = 0; d < fraction; ++d) {
            text += static_cast<char>('0' + next() % 10);
        }
        const auto parsed = ParseReal(text);
        ASSERT_TRUE(parsed) << text;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::signbit(*parsed), std::signbit(expected)) << text;
        ASSERT_EQ(*parsed, expected) << text;
    }
}

// Around the one-pass reading's limits (no point, an empty side, sixteen digits and more, a sign
// alone with the point) the value is the one strtod gives, sign included.
TEST(RealSyntax, FormsAroundTheUsualOnesReadAsStrtodReadsThem) {
    for (const char* text :
         {"123", "-123", "5.", "-5.", ".5", "-.5", "-0", "0.", "+2.5", "  7.25", "123456789012345",
          "1234567890123456", "-12345678.90123456", "000000000000001.5", "9007199254740993",
          "0.1000000000000000055511151231257827", "99999999999999999999"}) {
        const auto parsed = ParseReal(text);
        ASSERT_TRUE(parsed) << text;
        const double expected = std::strtod(text, nullptr);
        EXPECT_EQ(std::signbit(*parsed), std::signbit(expected)) << text;
        EXPECT_EQ(*parsed, expected) << text;
    }
    EXPECT_TRUE(std::signbit(*ParseReal("-.")));
    EXPECT_FALSE(std::signbit(*ParseReal(".")));
}

TEST(RealSyntax, RejectedForms) {
    for (const char* text : {"+", "-", "1E", "1E+", "1 234.56", "1234,56", "1.2.3", "12a", "E",
                             "..", "1e5x", "\t1", "", "12.5 ", "-12.5-", "5.-", "1.5.", "--1"}) {
        EXPECT_FALSE(ParseReal(text)) << "'" << text << "'";
    }
}

TEST(RealSyntax, BeyondTheBinary64RangeIsInvalidButTinyValuesAreZero) {
    EXPECT_FALSE(ParseReal("9E999"));
    EXPECT_FALSE(ParseReal("-1E309"));
    EXPECT_FALSE(ParseReal("1E99999999999999999999999"));
    EXPECT_EQ(ParseReal("1E-999"), 0.0);
    EXPECT_TRUE(std::signbit(*ParseReal("-1E-999")));
    EXPECT_EQ(ParseReal("0.000001E-99999999999999999999"), 0.0);
    EXPECT_EQ(ParseReal("1.7976931348623157E308"), 1.7976931348623157E308);
}

}  // namespace
}  // namespace trevo

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "engine/text/CurrencyFormat.h"

namespace trevo {
namespace {

std::string Money(double value, const CurrencyFormat& format = CurrencyFormat::Polish()) {
    std::string out;
    AppendMoney(out, value, format);
    return out;
}

TEST(CurrencyFormat, PolishRegionalForm) {
    EXPECT_EQ(Money(1234.56), "1 234,56 z\xB3");
    EXPECT_EQ(Money(-1234.56), "-1 234,56 z\xB3");
    EXPECT_EQ(Money(0), "0,00 z\xB3");
    EXPECT_EQ(Money(999.999), "1 000,00 z\xB3");
    EXPECT_EQ(Money(1234567.5), "1 234 567,50 z\xB3");
    EXPECT_EQ(Money(0.05), "0,05 z\xB3");
}

TEST(CurrencyFormat, RoundsHalfAwayFromZeroOnTheDecimalForm) {
    EXPECT_EQ(Money(0.125), "0,13 z\xB3");
    EXPECT_EQ(Money(-0.125), "-0,13 z\xB3");
    // 2.675 is stored as 2.67499999999999982...: the stored value decides, not its short form.
    EXPECT_EQ(Money(2.675), "2,67 z\xB3");
    EXPECT_EQ(Money(-0.001), "0,00 z\xB3");  // no sign on a zero
}

TEST(CurrencyFormat, StoredValuesJustOffHalfwayRoundTheirOwnWayAtEverySize) {
    EXPECT_EQ(Money(1.005), "1,00 z\xB3");    // 1.00499999999999989...
    EXPECT_EQ(Money(1.015), "1,01 z\xB3");    // 1.01499999999999990...
    EXPECT_EQ(Money(10.005), "10,01 z\xB3");  // 10.0050000000000008...
    EXPECT_EQ(Money(0.005), "0,01 z\xB3");
    EXPECT_EQ(Money(0.0049999), "0,00 z\xB3");
    EXPECT_EQ(Money(1234567.125), "1 234 567,13 z\xB3");
    EXPECT_EQ(Money(999999999.995), "1 000 000 000,00 z\xB3");
    EXPECT_EQ(Money(99999999999.995), "99 999 999 999,99 z\xB3");
    EXPECT_EQ(Money(12345678901.23), "12 345 678 901,23 z\xB3");
    EXPECT_EQ(Money(4503599627370496.5), "4 503 599 627 370 496,00 z\xB3");
}

TEST(CurrencyFormat, SymbolPlacesAndNegativeForms) {
    CurrencyFormat format;
    format.symbol = "$";
    format.thousandsSeparator = ",";
    format.positiveFormat = 0;
    EXPECT_EQ(Money(1234.5, format), "$1,234.50");
    format.positiveFormat = 2;
    EXPECT_EQ(Money(1, format), "$ 1.00");
    const std::pair<int, const char*> negatives[] = {
        {0, "($1.00)"},  {1, "-$1.00"},   {2, "$-1.00"},    {3, "$1.00-"},
        {4, "(1.00$)"},  {5, "-1.00$"},   {6, "1.00-$"},    {7, "1.00$-"},
        {8, "-1.00 $"},  {9, "-$ 1.00"},  {10, "1.00 $-"},  {11, "$ 1.00-"},
        {12, "$ -1.00"}, {13, "1.00- $"}, {14, "($ 1.00)"}, {15, "(1.00 $)"}};
    for (const auto& [form, text] : negatives) {
        format.negativeFormat = form;
        EXPECT_EQ(Money(-1, format), text) << form;
    }
}

TEST(CurrencyFormat, DecimalsAndExtremeValues) {
    CurrencyFormat format = CurrencyFormat::Polish();
    format.decimals = 0;
    EXPECT_EQ(Money(2.5, format), "3 z\xB3");
    format.decimals = 3;
    EXPECT_EQ(Money(1.0625, format), "1,063 z\xB3");
    EXPECT_EQ(Money(1e17), "100 000 000 000 000 000,00 z\xB3");
    EXPECT_EQ(Money(1e300), "1E+300");
    EXPECT_EQ(Money(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(Money(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(Money(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

// Amounts clear of a halfway point print as the exactly rounded decimal form of the stored value,
// grouped by threes from the point, with separators of any length.
TEST(CurrencyFormat, UsualAmountsPrintTheirRoundedDigitsGrouped) {
    CurrencyFormat format = CurrencyFormat::Polish();
    format.thousandsSeparator = "\xA0.";
    format.decimalSeparator = std::string(2, ':');
    format.positiveFormat = 1;
    format.negativeFormat = 5;
    format.symbol = "$";
    std::uint64_t state = 0x2545F4914F6CDD1Du;
    for (int i = 0; i < 50'000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        format.decimals = static_cast<int>(state % 4);
        const double scale = std::ldexp(1.0, static_cast<int>((state >> 8) % 40));
        const double value = (static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5) * scale;
        char plain[64];
        std::snprintf(plain, sizeof plain, "%.*f", format.decimals + 3, std::fabs(value));
        const std::string_view digits(plain);
        const std::string_view beyond = digits.substr(digits.size() - 3);
        if (beyond >= "499" && beyond <= "501") {
            continue;  // near halfway: rounded on the 18-digit form, tested above
        }
        std::snprintf(plain, sizeof plain, "%.*f", format.decimals, std::fabs(value));
        std::string integer(plain, std::strcspn(plain, "."));
        const std::string fraction = integer.size() < std::strlen(plain)
                                         ? "::" + std::string(plain + integer.size() + 1)
                                         : std::string();
        for (std::size_t at = integer.size(); at > 3; at -= 3) {
            integer.insert(at - 3, "\xA0.");
        }
        const bool zero = integer.find_first_not_of("0\xA0.") == std::string::npos &&
                          fraction.find_first_not_of(":0") == std::string::npos;
        const std::string expected = (value < 0 && !zero ? "-" : "") + integer + fraction + "$";
        ASSERT_EQ(Money(value, format), expected) << plain << " at " << format.decimals;
    }
}

// The summary adds up the amounts as the trace shows them: the units must be exactly the digits
// AppendMoney prints, halfway cases and the slow path included.
TEST(CurrencyFormat, ShownUnitsAreTheDigitsPrinted) {
    CurrencyFormat plain;
    plain.decimals = 2;
    const double values[] = {0.0,        -0.0,   0.005,        0.015,
                             1.005,      2.675,  -2.675,       1234.565,
                             0.125,      -0.125, 1e11 + 0.005, 999999999999.995,
                             123456.789, -0.001, 1e13 + 0.5,   7.0 / 3.0};
    for (const double value : values) {
        for (const int decimals : {0, 2, 3}) {
            plain.decimals = decimals;
            std::string shown = Money(value, plain);
            std::erase(shown, '.');
            const auto units = ShownUnits(value, decimals);
            ASSERT_TRUE(units) << value;
            EXPECT_EQ(*units, std::stoll(shown)) << value << " at " << decimals;
        }
    }
    EXPECT_FALSE(ShownUnits(1e300, 2));
    EXPECT_FALSE(ShownUnits(std::numeric_limits<double>::quiet_NaN(), 2));
    EXPECT_FALSE(ShownUnits(std::numeric_limits<double>::infinity(), 2));
}

}  // namespace
}  // namespace trevo

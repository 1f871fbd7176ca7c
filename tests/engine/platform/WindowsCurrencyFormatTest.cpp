// The "%m" money of a run against Windows' own formatting of the same amounts in the same
// locale: what the user sees in every other program.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "engine/platform/UserLocaleCurrencyFormat.h"
#include "engine/platform/WindowsLocaleCurrencyFormat.h"
#include "engine/text/CurrencyFormat.h"

namespace trevo {
namespace {

std::string ToWin1250(const wchar_t* text) {
    char bytes[256];
    const int length =
        ::WideCharToMultiByte(1250, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    return length > 0 ? std::string(bytes, static_cast<std::size_t>(length - 1)) : "<error>";
}

std::wstring LocaleText(const wchar_t* locale, LCTYPE type) {
    wchar_t text[64] = {};
    ::GetLocaleInfoEx(locale, type | (locale == nullptr ? 0 : LOCALE_NOUSEROVERRIDE), text, 64);
    return text;
}

UINT LocaleNumber(const wchar_t* locale, LCTYPE type) {
    return static_cast<UINT>(std::wcstoul(LocaleText(locale, type).c_str(), nullptr, 10));
}

// Windows' formatter given the locale's own settings, read here on their own. They are passed
// whole rather than left to the formatter, because Wine's formatter mistakes the locale's own
// grouping "3;0" for a single group ("$1000,000.00"); given as 3 it groups as Windows does.
std::string WindowsMoney(const wchar_t* locale, double value) {
    std::wstring decimal = LocaleText(locale, LOCALE_SMONDECIMALSEP);
    std::wstring thousands = LocaleText(locale, LOCALE_SMONTHOUSANDSEP);
    std::wstring symbol = LocaleText(locale, LOCALE_SCURRENCY);
    const std::wstring grouping = LocaleText(locale, LOCALE_SMONGROUPING);
    CURRENCYFMTW format{};
    format.NumDigits = LocaleNumber(locale, LOCALE_ICURRDIGITS);
    format.LeadingZero = LocaleNumber(locale, LOCALE_ILZERO);
    format.Grouping = grouping == L"3;0" ? 3 : grouping == L"0;0" || grouping == L"0" ? 0 : 99;
    format.lpDecimalSep = decimal.data();
    format.lpThousandSep = thousands.data();
    format.NegativeOrder = LocaleNumber(locale, LOCALE_INEGCURR);
    format.PositiveOrder = LocaleNumber(locale, LOCALE_ICURRENCY);
    format.lpCurrencySymbol = symbol.data();
    // The decimal text of the double to 17 significant digits, so that both round one value.
    wchar_t digits[64];
    std::swprintf(digits, 64, L"%.17g", value);
    wchar_t formatted[128];
    if (::GetCurrencyFormatEx(locale, 0, digits, &format, formatted, 128) <= 0) {
        return "<error>";
    }
    return ToWin1250(formatted);
}

std::string EngineMoney(const CurrencyFormat& format, double value) {
    std::string out;
    AppendMoney(out, value, format);
    return out;
}

// A negative amount that rounds to zero is left out: the engine prints zero in the positive
// form on every platform ("0,00 z\xB3"), where Windows' formatter keeps the sign ("-0,00 z\xB3").
// Halves both ways, a double just below a half (2.675), a carry (9.995), groups up to four.
// Wine's formatter loses the separator of a group that rounding makes (999.995 gives
// "$1000.00"), so no carry here makes a group.
constexpr double kAmounts[] = {0,       1,        -1,        0.5,           12.3,
                               1234.56, -1234.56, 999999.99, 1000000,       -1000000.01,
                               0.005,   -0.005,   0.125,     -0.125,        2.675,
                               9.995,   -0.996,   0.994,     1234567890.12, -987654321.98};

void ExpectWindowsForm(const wchar_t* locale, const CurrencyFormat& format) {
    for (const double amount : kAmounts) {
        EXPECT_EQ(EngineMoney(format, amount), WindowsMoney(locale, amount)) << amount;
    }
}

TEST(WindowsCurrencyFormat, UserLocaleAmountsAsWindowsFormatsThem) {
    ExpectWindowsForm(LOCALE_NAME_USER_DEFAULT, CurrencyFormatFromUserLocale());
}

TEST(WindowsCurrencyFormat, PolishAmountsAsWindowsFormatsThem) {
    const CurrencyFormat polish = CurrencyFormatOfLocale(L"pl-PL");
    EXPECT_EQ(polish.symbol, "z\xB3");
    EXPECT_EQ(polish.decimalSeparator, ",");
    EXPECT_EQ(polish.decimals, 2);
    ExpectWindowsForm(L"pl-PL", polish);
}

TEST(WindowsCurrencyFormat, LocalesWithOtherFormsToo) {
    for (const wchar_t* locale : {L"en-US", L"de-CH", L"fr-FR", L"nl-NL", L"cs-CZ", L"hu-HU",
                                  L"sv-SE", L"pt-BR", L"nb-NO", L"de-DE"}) {
        SCOPED_TRACE(ToWin1250(locale));
        ExpectWindowsForm(locale, CurrencyFormatOfLocale(locale));
    }
}

// A symbol Windows-1250 has not (the yen) is left out rather than shown as '?'.
TEST(WindowsCurrencyFormat, SymbolOutsideWindows1250IsLeftOut) {
    const CurrencyFormat japanese = CurrencyFormatOfLocale(L"ja-JP");
    EXPECT_EQ(japanese.symbol, "");
    EXPECT_EQ(japanese.decimals, 0);
    EXPECT_EQ(EngineMoney(japanese, -1234.4), "(1,234)");
}

TEST(WindowsCurrencyFormat, UnknownLocaleGivesThePlainForm) {
    const CurrencyFormat plain = CurrencyFormatOfLocale(L"xx-NOWHERE");
    EXPECT_EQ(EngineMoney(plain, -1234.5), EngineMoney(CurrencyFormat{}, -1234.5));
}

}  // namespace
}  // namespace trevo

#pragma once
// Money as the regional settings print it: the "%m" of trace lines.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace trevo {

struct CurrencyFormat {
    std::string symbol;              // Windows-1250 bytes, "z\xB3" for the Polish zloty
    int positiveFormat = 0;          // 0 "$n", 1 "n$", 2 "$ n", 3 "n $"
    int negativeFormat = 1;          // 0 to 15, the regional settings' negative currency forms
    int decimals = 2;                // digits after the decimal separator
    std::string thousandsSeparator;  // empty: no grouping
    std::string decimalSeparator = ".";

    // "1 234,56 zł" and "-1 234,56 zł".
    static CurrencyFormat Polish();
};

// Appends `value` in the currency format: rounded half away from zero to `decimals` digits,
// grouped, with the symbol and sign placed as the format says. Values beyond eighteen integer
// digits, infinities and NaN are printed in plain scientific form.
void AppendMoney(std::string& out, double value, const CurrencyFormat& format);

// The most bytes AppendMoney adds for any value in `format`.
std::size_t MoneyLengthLimit(const CurrencyFormat& format);
// Writes at `out`, which has room for MoneyLengthLimit(format) bytes, what AppendMoney appends;
// returns the end of what it wrote.
char* WriteMoney(char* out, double value, const CurrencyFormat& format);

// The digits AppendMoney shows for `value` at `decimals` digits after the separator, as one
// signed integer in units of 10^-decimals; nothing where it shows no such digits (infinities,
// NaN, the scientific form) or they do not fit 18 digits.
std::optional<std::int64_t> ShownUnits(double value, int decimals);

}  // namespace trevo

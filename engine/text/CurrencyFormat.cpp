#include "engine/text/CurrencyFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace trevo {

namespace {

constexpr int kSignificantDigits = 18;
constexpr int kMaxIntegerDigits = 18;
constexpr int kMaxDecimals = kSignificantDigits;

// The digits of |value| rounded half away from zero to `decimals` places, from 10^top down to
// 10^-decimals; rounding is done on an 18-digit decimal form of the value, not on its binary one.
struct DecimalDigits {
    char digits[kMaxIntegerDigits + kMaxDecimals];  // the integer part, then the fraction
    int integerCount = 0;
    int fractionCount = 0;
    bool zero = true;

    std::string_view Integer() const { return {digits, static_cast<std::size_t>(integerCount)}; }
    std::string_view Fraction() const {
        return {digits + integerCount, static_cast<std::size_t>(fractionCount)};
    }
};

// The digits of `scaled`, an amount in units of 10^-decimals.
DecimalDigits FromScaled(std::uint64_t scaled, int decimals) {
    char text[24];
    const auto printed = std::to_chars(text, text + sizeof text, scaled);
    const int length = static_cast<int>(printed.ptr - text);
    const int padding = std::max(decimals + 1 - length, 0);  // at least "0" before the fraction
    DecimalDigits result;
    std::fill_n(result.digits, padding, '0');
    std::memcpy(result.digits + padding, text, static_cast<std::size_t>(length));
    result.integerCount = padding + length - decimals;
    result.fractionCount = decimals;
    result.zero = scaled == 0;
    return result;
}

// The usual amount without the 18-digit form. y = magnitude x 10^decimals, computed with one
// rounding, differs from the 18-digit form scaled alike by less than y x 1.2e-16 (that rounding
// plus half a unit in the 18th digit): below 1.2e-4 while y < 1e12. Unless y lies within 1e-3 of
// a halfway point, both round to the same integer. Nothing for the rest.
std::optional<std::uint64_t> ScaledClearOfHalfway(double magnitude, int decimals) {
    constexpr double kPowersOfTen[kMaxDecimals + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                                       1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                                       1e14, 1e15, 1e16, 1e17, 1e18};  // all exact
    constexpr double kLimit = 1e12;
    constexpr double kMargin = 1e-3;
    const double y = magnitude * kPowersOfTen[decimals];
    if (!(y < kLimit)) {
        return std::nullopt;
    }
    // y lies in [0, 1e12): the conversion drops the fraction exactly, as floor would, without
    // a call into the maths library.
    const auto whole = static_cast<std::int64_t>(y);
    const double fraction = y - static_cast<double>(whole);  // exact
    if (std::fabs(fraction - 0.5) <= kMargin) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
}

std::optional<DecimalDigits> DigitsClearOfHalfway(double magnitude, int decimals) {
    if (const auto scaled = ScaledClearOfHalfway(magnitude, decimals)) {
        return FromScaled(*scaled, decimals);
    }
    return std::nullopt;
}

// Nothing when the integer part has more than kMaxIntegerDigits digits. The 18-digit form is the
// correctly rounded "%.17e" one; to_chars gives the same digits without printf's cost and
// without allocating.
std::optional<DecimalDigits> Digits(double magnitude, int decimals) {
    if (const auto quick = DigitsClearOfHalfway(magnitude, decimals)) {
        return quick;
    }
    char text[40];
    const auto printed = std::to_chars(text, text + sizeof text, magnitude,
                                       std::chars_format::scientific, kSignificantDigits - 1);
    // text: "d.ddddddddddddddddde+XX", value = d.ddd x 10^exponent
    char digits[kSignificantDigits + 1];
    digits[0] = text[0];
    std::memcpy(digits + 1, text + 2, kSignificantDigits - 1);
    const char* e = text + 1 + kSignificantDigits;  // at the 'e'
    int exponent = 0;
    std::from_chars(e + 2, printed.ptr, exponent);
    if (e[1] == '-') {
        exponent = -exponent;
    }

    int count = kSignificantDigits;            // digits that stay
    const int keep = exponent + 1 + decimals;  // significant digits that stay
    if (keep < 0) {
        count = 0;
    } else if (keep < kSignificantDigits) {
        const bool roundUp = digits[keep] >= '5';
        count = keep;
        if (roundUp) {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9') {
                digits[i--] = '0';
            }
            if (i >= 0) {
                ++digits[i];
            } else {
                std::memmove(digits + 1, digits, static_cast<std::size_t>(count));
                digits[0] = '1';
                ++count;
                ++exponent;
            }
        }
    }
    const int top = std::max(exponent, 0);
    if (top + 1 > kMaxIntegerDigits) {
        return std::nullopt;
    }
    DecimalDigits result;
    result.zero = std::all_of(digits, digits + count, [](char c) { return c == '0'; });
    result.integerCount = top + 1;
    result.fractionCount = decimals;
    char* out = result.digits;
    for (int power = top; power >= -decimals; --power) {
        const int index = exponent - power;
        *out++ = index >= 0 && index < count ? digits[index] : '0';
    }
    return result;
}

char* Put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// The grouped integer part, the decimal separator and the fraction.
char* PutNumber(char* out, const DecimalDigits& digits, const CurrencyFormat& format) {
    const std::string_view integer = digits.Integer();
    const std::size_t first = integer.size() % 3 == 0 ? 3 : integer.size() % 3;
    out = Put(out, integer.substr(0, first));
    for (std::size_t i = first; i < integer.size(); i += 3) {
        out = Put(out, format.thousandsSeparator);
        out = Put(out, integer.substr(i, 3));
    }
    if (digits.fractionCount > 0) {
        out = Put(out, format.decimalSeparator);
        out = Put(out, digits.Fraction());
    }
    return out;
}

// "000" to "999": the integer part is written a group at a time.
using ThreeDigits = std::array<char, 3>;
constexpr std::array<ThreeDigits, 1000> MakeThreeDigits() {
    std::array<ThreeDigits, 1000> table{};
    for (int i = 0; i < 1000; ++i) {
        table[i] = {static_cast<char>('0' + i / 100), static_cast<char>('0' + i / 10 % 10),
                    static_cast<char>('0' + i % 10)};
    }
    return table;
}
constexpr std::array<ThreeDigits, 1000> kThreeDigits = MakeThreeDigits();

constexpr std::array<std::uint64_t, kMaxDecimals + 1> MakeUnits() {
    std::array<std::uint64_t, kMaxDecimals + 1> units{};
    std::uint64_t unit = 1;
    for (std::uint64_t& u : units) {
        u = unit;
        unit *= 10;
    }
    return units;
}
constexpr std::array<std::uint64_t, kMaxDecimals + 1> kUnits = MakeUnits();

// A separator is mostly one byte.
char* PutSeparator(char* out, const std::string& separator) {
    if (separator.size() == 1) {
        *out = separator[0];
        return out + 1;
    }
    return Put(out, separator);
}

// What PutNumber writes for `scaled`, an amount in units of 10^-decimals, without making its
// DecimalDigits.
char* PutScaled(char* out, std::uint64_t scaled, int decimals, const CurrencyFormat& format) {
    std::uint64_t whole = scaled / kUnits[decimals];
    std::uint64_t fraction = scaled % kUnits[decimals];
    constexpr int kMostGroups = 7;  // of any 64-bit value
    std::uint32_t groups[kMostGroups];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint32_t>(whole % 1000);
        whole /= 1000;
    } while (whole != 0);
    const std::uint32_t top = groups[count - 1];
    const int topDigits = top >= 100 ? 3 : top >= 10 ? 2 : 1;
    out = std::copy_n(kThreeDigits[top].data() + 3 - topDigits, topDigits, out);
    for (int i = count - 2; i >= 0; --i) {
        out = PutSeparator(out, format.thousandsSeparator);
        out = std::copy_n(kThreeDigits[groups[i]].data(), 3, out);
    }
    if (decimals > 0) {
        out = PutSeparator(out, format.decimalSeparator);
        for (int i = decimals - 1; i >= 0; --i) {
            out[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        out += decimals;
    }
    return out;
}

constexpr std::size_t kScientificLength = 64;

char* PutScientific(char* out, double value, const CurrencyFormat& format) {
    char buffer[kScientificLength];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    for (const char c : std::string_view(buffer)) {
        if (c == '.') {
            out = Put(out, format.decimalSeparator);
        } else {
            *out++ = c;
        }
    }
    return out;
}

}  // namespace

std::optional<std::int64_t> ShownUnits(double value, int decimals) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    const double magnitude = std::fabs(value);
    std::uint64_t units = 0;
    if (const auto scaled = ScaledClearOfHalfway(magnitude, decimals)) {
        units = *scaled;
    } else {
        const auto digits = Digits(magnitude, decimals);
        constexpr int kInt64Digits = 18;  // any 18 decimal digits fit
        if (!digits || digits->integerCount + digits->fractionCount > kInt64Digits) {
            return std::nullopt;
        }
        for (const char c : digits->Integer()) {
            units = units * 10 + static_cast<unsigned>(c - '0');
        }
        for (const char c : digits->Fraction()) {
            units = units * 10 + static_cast<unsigned>(c - '0');
        }
    }
    const auto signedUnits = static_cast<std::int64_t>(units);
    return value < 0 ? -signedUnits : signedUnits;
}

CurrencyFormat CurrencyFormat::Polish() {
    CurrencyFormat format;
    format.symbol = "z\xB3";
    format.positiveFormat = 3;
    format.negativeFormat = 8;
    format.decimals = 2;
    format.thousandsSeparator = " ";
    format.decimalSeparator = ",";
    return format;
}

std::size_t MoneyLengthLimit(const CurrencyFormat& format) {
    // Digits with their separators or the scientific form, the symbol, and at most three
    // marks of the form around them.
    constexpr std::size_t kMarks = 3;
    const std::size_t grouped = kMaxIntegerDigits +
                                (kMaxIntegerDigits - 1) / 3 * format.thousandsSeparator.size() +
                                format.decimalSeparator.size() + kMaxDecimals;
    const std::size_t scientific = kScientificLength + format.decimalSeparator.size();
    return std::max(grouped, scientific) + format.symbol.size() + kMarks;
}

void AppendMoney(std::string& out, double value, const CurrencyFormat& format) {
    const std::size_t start = out.size();
    out.resize(start + MoneyLengthLimit(format));
    const char* const end = WriteMoney(out.data() + start, value, format);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

char* WriteMoney(char* out, double value, const CurrencyFormat& format) {
    if (std::isnan(value)) {
        return Put(out, "NAN");
    }
    if (std::isinf(value)) {
        return Put(out, value < 0 ? "-INF" : "INF");
    }
    const int decimals = std::clamp(format.decimals, 0, kMaxDecimals);
    const double magnitude = std::fabs(value);
    // The usual amount straight from its scaled value; Digits for the rest.
    const auto scaled = ScaledClearOfHalfway(magnitude, decimals);
    std::optional<DecimalDigits> digits;
    if (!scaled) {
        digits = Digits(magnitude, decimals);
        if (!digits) {
            return PutScientific(out, value, format);
        }
    }
    const bool zero = scaled ? *scaled == 0 : digits->zero;
    const auto number = [&] {
        out = scaled ? PutScaled(out, *scaled, decimals, format) : PutNumber(out, *digits, format);
    };
    const auto put = [&out](std::string_view text) { out = Put(out, text); };
    const auto mark = [&out](char c) { *out++ = c; };
    const std::string& s = format.symbol;
    if (value >= 0 || zero) {
        switch (format.positiveFormat) {
            case 0:  // $n
                put(s);
                number();
                break;
            case 1:  // n$
                number();
                put(s);
                break;
            case 2:  // $ n
                put(s);
                mark(' ');
                number();
                break;
            default:  // n $
                number();
                mark(' ');
                put(s);
                break;
        }
        return out;
    }
    switch (format.negativeFormat) {
        case 0:  // ($n)
            mark('(');
            put(s);
            number();
            mark(')');
            break;
        case 2:  // $-n
            put(s);
            mark('-');
            number();
            break;
        case 3:  // $n-
            put(s);
            number();
            mark('-');
            break;
        case 4:  // (n$)
            mark('(');
            number();
            put(s);
            mark(')');
            break;
        case 5:  // -n$
            mark('-');
            number();
            put(s);
            break;
        case 6:  // n-$
            number();
            mark('-');
            put(s);
            break;
        case 7:  // n$-
            number();
            put(s);
            mark('-');
            break;
        case 8:  // -n $
            mark('-');
            number();
            mark(' ');
            put(s);
            break;
        case 9:  // -$ n
            mark('-');
            put(s);
            mark(' ');
            number();
            break;
        case 10:  // n $-
            number();
            mark(' ');
            put(s);
            mark('-');
            break;
        case 11:  // $ n-
            put(s);
            mark(' ');
            number();
            mark('-');
            break;
        case 12:  // $ -n
            put(s);
            put(" -");
            number();
            break;
        case 13:  // n- $
            number();
            put("- ");
            put(s);
            break;
        case 14:  // ($ n)
            mark('(');
            put(s);
            mark(' ');
            number();
            mark(')');
            break;
        case 15:  // (n $)
            mark('(');
            number();
            mark(' ');
            put(s);
            mark(')');
            break;
        default:  // -$n
            mark('-');
            put(s);
            number();
            break;
    }
    return out;
}

}  // namespace trevo

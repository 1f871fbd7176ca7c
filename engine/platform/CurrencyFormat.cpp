#include "platform/CurrencyFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

// Nothing when the integer part has more than kMaxIntegerDigits digits. The 18-digit form is the
// correctly rounded "%.17e" one; to_chars gives the same digits without printf's cost and
// without allocating.
std::optional<DecimalDigits> Digits(double magnitude, int decimals) {
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

// The grouped integer part, the decimal separator and the fraction.
void AppendNumber(std::string& out, const DecimalDigits& digits, const CurrencyFormat& format) {
    const std::string_view integer = digits.Integer();
    const std::size_t first = integer.size() % 3 == 0 ? 3 : integer.size() % 3;
    out.append(integer.substr(0, first));
    for (std::size_t i = first; i < integer.size(); i += 3) {
        out += format.thousandsSeparator;
        out.append(integer.substr(i, 3));
    }
    if (digits.fractionCount > 0) {
        out += format.decimalSeparator;
        out.append(digits.Fraction());
    }
}

void AppendScientific(std::string& out, double value, const CurrencyFormat& format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    for (const char c : std::string_view(buffer)) {
        if (c == '.') {
            out += format.decimalSeparator;
        } else {
            out += c;
        }
    }
}

}  // namespace

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

void AppendMoney(std::string& out, double value, const CurrencyFormat& format) {
    if (std::isnan(value)) {
        out += "NAN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-INF" : "INF";
        return;
    }
    const int decimals = std::clamp(format.decimals, 0, kMaxDecimals);
    const auto digits = Digits(std::fabs(value), decimals);
    if (!digits) {
        AppendScientific(out, value, format);
        return;
    }
    const auto number = [&] { AppendNumber(out, *digits, format); };
    const std::string& s = format.symbol;
    if (value >= 0 || digits->zero) {
        switch (format.positiveFormat) {
            case 0:  // $n
                out += s;
                number();
                break;
            case 1:  // n$
                number();
                out += s;
                break;
            case 2:  // $ n
                out += s;
                out += ' ';
                number();
                break;
            default:  // n $
                number();
                out += ' ';
                out += s;
                break;
        }
        return;
    }
    switch (format.negativeFormat) {
        case 0:  // ($n)
            out += '(';
            out += s;
            number();
            out += ')';
            break;
        case 2:  // $-n
            out += s;
            out += '-';
            number();
            break;
        case 3:  // $n-
            out += s;
            number();
            out += '-';
            break;
        case 4:  // (n$)
            out += '(';
            number();
            out += s;
            out += ')';
            break;
        case 5:  // -n$
            out += '-';
            number();
            out += s;
            break;
        case 6:  // n-$
            number();
            out += '-';
            out += s;
            break;
        case 7:  // n$-
            number();
            out += s;
            out += '-';
            break;
        case 8:  // -n $
            out += '-';
            number();
            out += ' ';
            out += s;
            break;
        case 9:  // -$ n
            out += '-';
            out += s;
            out += ' ';
            number();
            break;
        case 10:  // n $-
            number();
            out += ' ';
            out += s;
            out += '-';
            break;
        case 11:  // $ n-
            out += s;
            out += ' ';
            number();
            out += '-';
            break;
        case 12:  // $ -n
            out += s;
            out += " -";
            number();
            break;
        case 13:  // n- $
            number();
            out += "- ";
            out += s;
            break;
        case 14:  // ($ n)
            out += '(';
            out += s;
            out += ' ';
            number();
            out += ')';
            break;
        case 15:  // (n $)
            out += '(';
            number();
            out += ' ';
            out += s;
            out += ')';
            break;
        default:  // -$n
            out += '-';
            out += s;
            number();
            break;
    }
}

}  // namespace trevo

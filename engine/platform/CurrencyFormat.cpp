#include "platform/CurrencyFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace trevo {

namespace {

constexpr int kSignificantDigits = 18;
constexpr int kMaxIntegerDigits = 18;

// Digits of |value| rounded half away from zero to `decimals` places, as the integer part and
// the fraction; rounding is done on an 18-digit decimal form of the value, not on its binary one.
struct DecimalDigits {
    std::string integer;
    std::string fraction;
    bool zero = true;
};

DecimalDigits Digits(double magnitude, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    const std::string_view text(buffer);
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, kSignificantDigits - 1));
    int exponent = std::atoi(buffer + text.find('e') + 1);  // value = d.ddd x 10^exponent

    const int keep = exponent + 1 + decimals;  // significant digits that stay
    if (keep < 0) {
        digits.clear();
    } else if (keep < kSignificantDigits) {
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp) {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9') {
                digits[i--] = '0';
            }
            if (i >= 0) {
                ++digits[i];
            } else {
                digits.insert(digits.begin(), '1');
                ++exponent;
            }
        }
    }
    DecimalDigits result;
    result.zero = digits.find_first_not_of('0') == std::string::npos;
    // Digits from 10^max(exponent, 0) down to 10^-decimals.
    std::string all;
    const int top = std::max(exponent, 0);
    for (int power = top; power >= -decimals; --power) {
        const int index = exponent - power;
        all += index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0';
    }
    result.integer = all.substr(0, top + 1);
    result.fraction = all.substr(top + 1);
    return result;
}

void AppendGrouped(std::string& out, const std::string& integer, const std::string& separator) {
    const std::size_t first = integer.size() % 3 == 0 ? 3 : integer.size() % 3;
    out.append(integer, 0, first);
    for (std::size_t i = first; i < integer.size(); i += 3) {
        out += separator;
        out.append(integer, i, 3);
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
    const int decimals = std::clamp(format.decimals, 0, kSignificantDigits);
    const DecimalDigits digits = Digits(std::fabs(value), decimals);
    if (static_cast<int>(digits.integer.size()) > kMaxIntegerDigits) {
        AppendScientific(out, value, format);
        return;
    }
    std::string number;
    AppendGrouped(number, digits.integer, format.thousandsSeparator);
    if (decimals > 0) {
        number += format.decimalSeparator;
        number += digits.fraction;
    }
    const std::string& s = format.symbol;
    if (value >= 0 || digits.zero) {
        switch (format.positiveFormat) {
            case 0:
                out += s + number;
                break;
            case 1:
                out += number + s;
                break;
            case 2:
                out += s + " " + number;
                break;
            default:
                out += number + " " + s;
                break;
        }
        return;
    }
    switch (format.negativeFormat) {
        case 0:
            out += "(" + s + number + ")";
            break;
        case 2:
            out += s + "-" + number;
            break;
        case 3:
            out += s + number + "-";
            break;
        case 4:
            out += "(" + number + s + ")";
            break;
        case 5:
            out += "-" + number + s;
            break;
        case 6:
            out += number + "-" + s;
            break;
        case 7:
            out += number + s + "-";
            break;
        case 8:
            out += "-" + number + " " + s;
            break;
        case 9:
            out += "-" + s + " " + number;
            break;
        case 10:
            out += number + " " + s + "-";
            break;
        case 11:
            out += s + " " + number + "-";
            break;
        case 12:
            out += s + " -" + number;
            break;
        case 13:
            out += number + "- " + s;
            break;
        case 14:
            out += "(" + s + " " + number + ")";
            break;
        case 15:
            out += "(" + number + " " + s + ")";
            break;
        default:
            out += "-" + s + number;
            break;
    }
}

}  // namespace trevo

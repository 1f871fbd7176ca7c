#include "engine/exportfile/NumberSyntax.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace trevo {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

constexpr std::size_t kExactDigits = 15;  // below 2^53
constexpr double kExactPowersOfTen[kExactDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

std::size_t SkipSpaces(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    return i;
}

}  // namespace

IntegerParse ParseInteger(std::string_view text) {
    // The usual form, up to nine plain digits, always fits; everything else takes the full path.
    constexpr std::size_t kAlwaysFits = 9;
    if (!text.empty() && text.size() <= kAlwaysFits &&
        std::all_of(text.begin(), text.end(), IsDigit)) {
        std::int32_t value = 0;
        for (const char c : text) {
            value = value * 10 + (c - '0');
        }
        return IntegerParse{value, true};
    }
    std::size_t i = SkipSpaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    const auto result = [&](std::uint64_t magnitude, bool valid) {
        const auto pattern = static_cast<std::uint32_t>(magnitude);
        const auto value = static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
        return IntegerParse{value, valid};
    };
    if (i == text.size()) {
        return result(0, false);
    }
    std::uint64_t magnitude = 0;
    if (hex) {
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0 || magnitude > 0x0FFFFFFF) {
                return result(magnitude, false);
            }
            magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
        }
        return result(magnitude, true);
    }
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            return result(magnitude, false);
        }
        const std::uint64_t next = magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (next > limit) {
            return result(magnitude, false);
        }
        magnitude = next;
    }
    return result(magnitude, true);
}

namespace {

// "[-]digits[.digits]" with one to fifteen digits in all, the form of nearly every amount, read
// in one pass. The digits as one integer are exact in binary64, and so is 10^k for k up to 22, so
// one division gives the correctly rounded value, the same as from_chars, at a fraction of its
// cost. Nothing for any other text.
std::optional<double> ParseUsualReal(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) {
        ++p;
    }
    const char* const integerStart = p;
    std::uint64_t mantissa = 0;
    while (p != end && IsDigit(*p)) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
    }
    const auto integer = static_cast<std::size_t>(p - integerStart);
    std::size_t fraction = 0;
    if (p != end && *p == '.') {
        const char* const fractionStart = ++p;
        while (p != end && IsDigit(*p)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
        }
        fraction = static_cast<std::size_t>(p - fractionStart);
    }
    if (p != end || integer + fraction == 0 || integer + fraction > kExactDigits) {
        return std::nullopt;
    }
    const double value = static_cast<double>(mantissa) / kExactPowersOfTen[fraction];
    return negative ? -value : value;
}

}  // namespace

std::optional<double> ParseReal(std::string_view text) {
    if (const auto usual = ParseUsualReal(text)) {
        return usual;
    }
    std::size_t i = SkipSpaces(text);
    const std::size_t signStart = i;
    bool negative = false;
    bool plus = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        plus = !negative;
        ++i;
        if (i == text.size()) {
            return std::nullopt;
        }
    }
    const std::size_t numberStart = i;
    const std::size_t integerStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::string_view integerDigits = text.substr(integerStart, i - integerStart);
    std::string_view fractionDigits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        fractionDigits = text.substr(fractionStart, i - fractionStart);
    }
    std::string_view exponentText;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        const std::size_t exponentStart = ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            ++i;
        }
        const std::size_t digitsStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        if (i == digitsStart) {
            return std::nullopt;
        }
        exponentText = text.substr(exponentStart, i - exponentStart);
    }
    if (i != text.size() || i == numberStart) {
        return std::nullopt;
    }

    // from_chars is given digits on both sides of the point and no "+". The usual form of an
    // amount, "[-]digits.digits", is that already and is read as it stands.
    std::string normal;
    std::string_view number;
    if (!plus && !integerDigits.empty() && !fractionDigits.empty() && exponentText.empty()) {
        number = text.substr(signStart);
    } else {
        normal.reserve(text.size() + 4);
        if (negative) {
            normal += '-';
        }
        normal += integerDigits.empty() ? std::string_view("0") : integerDigits;
        normal += '.';
        normal += fractionDigits.empty() ? std::string_view("0") : fractionDigits;
        if (!exponentText.empty()) {
            normal += 'e';
            normal += exponentText.front() == '+' ? exponentText.substr(1) : exponentText;
        }
        number = normal;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Out of range means too large or too small: tell them apart by the decimal exponent.
        long long exponent = 0;
        const bool exponentNegative = !exponentText.empty() && exponentText.front() == '-';
        for (const char c : exponentText) {
            if (IsDigit(c)) {
                exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000);
            }
        }
        if (exponentNegative) {
            exponent = -exponent;
        }
        const auto firstNonZero = integerDigits.find_first_not_of('0');
        long long magnitude = exponent;
        if (firstNonZero != std::string_view::npos) {
            magnitude += static_cast<long long>(integerDigits.size() - firstNonZero);
        } else {
            magnitude -= static_cast<long long>(fractionDigits.find_first_not_of('0'));
        }
        if (magnitude > 0) {
            return std::nullopt;
        }
        return negative ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace trevo

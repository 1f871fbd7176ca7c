#include "engine/exportfile/FieldReaders.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/exportfile/NumberSyntax.h"
#include "engine/platform/TraceSink.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kBadInteger = "Błąd określenia wartości INTEGER"_w1250;
constexpr auto kBadDouble = "Błąd określenia wartości DOUBLE"_w1250;
constexpr auto kBadYear = "Błąd określenia ROKU"_w1250;
constexpr auto kBadMonth = "Błąd określenia MIESIĄCA"_w1250;
constexpr auto kBadDay = "Błąd określenia DNIA"_w1250;

bool IsControlOrSpace(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Bit 7 of every byte of `word` that is above 32, and no other bit. Masking the top bits first
// keeps the sum of each byte inside it (at most 0x7F + 0x5F), so no carry flags a neighbour.
std::uint64_t AboveSpaceBits(std::uint64_t word) {
    constexpr std::uint64_t kTopBits = 0x8080808080808080;
    constexpr std::uint64_t kFrom33 = 0x5F5F5F5F5F5F5F5F;
    return (((word & ~kTopBits) + kFrom33) | word) & kTopBits;
}

// The eight bytes at `bytes`, the first in the lowest byte of the result.
std::uint64_t LoadLittleEndian(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Position of the first "<letter>L." in `text`, ignoring case: the first '.' after two such
// letters. Only ASCII letters fold: no other byte of a single-byte code page upper-cases into one.
std::size_t FindStreetPrefix(std::string_view text, char letter) {
    for (std::size_t dot = text.find('.', 2); dot != std::string_view::npos;
         dot = text.find('.', dot + 1)) {
        if (AsciiUpper(text[dot - 2]) == letter && AsciiUpper(text[dot - 1]) == 'L') {
            return dot - 2;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string_view TrimControls(std::string_view text) {
    // Columns are mostly padding: eight bytes are looked at together, and the first or last
    // byte kept is found in the word that holds one.
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (;;) {
        if (end - begin < 8) {
            while (begin != end && IsControlOrSpace(*begin)) {
                ++begin;
            }
            if (begin == end) {
                return {end, 0};
            }
            break;
        }
        if (const std::uint64_t kept = AboveSpaceBits(LoadLittleEndian(begin)); kept != 0) {
            begin += std::countr_zero(kept) / 8;
            break;
        }
        begin += 8;
    }
    // *begin is kept, so the search from the end stops at it at the latest.
    while (end - begin >= 8) {
        if (const std::uint64_t kept = AboveSpaceBits(LoadLittleEndian(end - 8)); kept != 0) {
            end -= std::countl_zero(kept) / 8;
            return {begin, static_cast<std::size_t>(end - begin)};
        }
        end -= 8;
    }
    while (IsControlOrSpace(end[-1])) {
        --end;
    }
    return {begin, static_cast<std::size_t>(end - begin)};
}

std::string StripStreetPrefix(std::string_view text) {
    std::string result(text);
    StripStreetPrefixInPlace(result);
    return result;
}

void StripStreetPrefixInPlace(std::string& text) {
    for (;;) {
        std::size_t at = FindStreetPrefix(text, 'U');
        if (at == std::string::npos) {
            at = FindStreetPrefix(text, 'A');
        }
        if (at == std::string::npos) {
            return;
        }
        text.erase(at, 3);
        const std::string_view trimmed = TrimControls(text);
        const auto leading = static_cast<std::size_t>(trimmed.data() - text.data());
        text.resize(leading + trimmed.size());
        text.erase(0, leading);
    }
}

void FieldReaders::Unreadable(int from, int to) const {
    if (unreadable_ == nullptr) {
        return;
    }
    if (!unreadable_->empty() && unreadable_->back().from == from && unreadable_->back().to == to) {
        return;
    }
    unreadable_->push_back({from, to});
}

std::string_view FieldReaders::ReadText(int from, int to) const {
    const auto first = static_cast<std::size_t>(from - 1);
    if (from < 1 || to < from || first >= line_.size()) {
        return {};
    }
    return TrimControls(line_.substr(first, static_cast<std::size_t>(to - from + 1)));
}

std::string FieldReaders::ReadTextPL(int from, int to) const {
    return FromWin1250(ReadText(from, to), ledgerCode_);
}

std::string_view FieldReaders::ReadTextPL(int from, int to, std::string& out) const {
    FromWin1250(ReadText(from, to), ledgerCode_, out);
    return out;
}

std::int32_t FieldReaders::ReadInteger(int from, int to) const {
    const std::string_view text = ReadText(from, to);
    if (text.empty()) {
        return 0;
    }
    const IntegerParse parsed = ParseInteger(text);
    if (!parsed.valid) {
        trace_.AppendLine(kBadInteger);
        Unreadable(from, to);
        return 0;
    }
    return parsed.value;
}

std::uint8_t FieldReaders::ReadByte(int from, int to) const {
    const std::int32_t value = ReadInteger(from, to);
    if (value < 0 || value > 255) {
        trace_.AppendLine(kBadInteger);
        Unreadable(from, to);
        return 0;
    }
    return static_cast<std::uint8_t>(value);
}

double FieldReaders::ReadDouble(int from, int to) const {
    const std::string_view text = ReadText(from, to);
    if (text.empty()) {
        return 0.0;
    }
    const auto parsed = ParseReal(text);
    if (!parsed) {
        trace_.AppendLine(kBadDouble);
        Unreadable(from, to);
        return 0.0;
    }
    return *parsed;
}

RmdDate FieldReaders::ReadDate(int from, int to) const {
    const std::string_view text = ReadText(from, to);
    RmdDate date;
    if (text.empty()) {
        return date;
    }
    if (text.size() == 8) {
        // Eight plain digits, the usual date, need no part checked on its own.
        const std::uint64_t word = LoadLittleEndian(text.data());
        constexpr std::uint64_t kHighNibbles = 0xF0F0F0F0F0F0F0F0;
        constexpr std::uint64_t kDigitHigh = 0x3030303030303030;
        constexpr std::uint64_t kSix = 0x0606060606060606;
        // '0' to '9' are 0x30 to 0x39; adding 6 moves only 0x3A and above out of 0x3_.
        if ((word & kHighNibbles) == kDigitHigh && ((word + kSix) & kHighNibbles) == kDigitHigh) {
            const auto digit = [&](int i) { return static_cast<unsigned>(text[i] - '0'); };
            date.year = static_cast<std::uint16_t>(digit(0) * 1000 + digit(1) * 100 +
                                                   digit(2) * 10 + digit(3));
            date.month = static_cast<std::uint8_t>(digit(4) * 10 + digit(5));
            date.day = static_cast<std::uint8_t>(digit(6) * 10 + digit(7));
            return date;
        }
    }
    const auto part = [&](std::size_t start, std::size_t length, std::string_view message) {
        const std::string_view slice =
            start < text.size() ? text.substr(start, length) : std::string_view();
        const IntegerParse parsed = ParseInteger(slice);
        if (!parsed.valid) {
            trace_.AppendLine(message);
            Unreadable(from, to);
        }
        return static_cast<std::uint32_t>(parsed.value);
    };
    date.year = static_cast<std::uint16_t>(part(0, 4, kBadYear));
    date.month = static_cast<std::uint8_t>(part(4, 2, kBadMonth));
    date.day = static_cast<std::uint8_t>(part(6, 2, kBadDay));
    return date;
}

}  // namespace trevo

#include "zdTransPL.h"

#include <array>
#include <stdexcept>

namespace trevo {

namespace {

// 1-based column of `byte` in the row of `code`, 0 when the byte is no letter of that row.
constexpr int ColumnOf(int code, unsigned char byte) {
    for (int k = 1; k <= kPolishLetterCount; ++k) {
        if (PolishLetterTable[code][k] == byte) {
            return k;
        }
    }
    return 0;
}

using ColumnMap = std::array<std::array<std::uint8_t, 256>, kPolishCharsetCount>;

// For every representation and byte, the letter column the byte stands for (0: none).
constexpr ColumnMap BuildColumnMap() {
    ColumnMap map{};
    for (int code = 0; code < kPolishCharsetCount; ++code) {
        for (int byte = 0; byte < 256; ++byte) {
            map[code][byte] =
                static_cast<std::uint8_t>(ColumnOf(code, static_cast<unsigned char>(byte)));
        }
    }
    return map;
}

constexpr ColumnMap kColumns = BuildColumnMap();

int CheckedCode(PolishCharset charset) {
    const int code = static_cast<int>(charset);
    if (code >= kPolishCharsetCount) {
        throw std::out_of_range("PolishCharset code above 5");
    }
    return code;
}

}  // namespace

std::string ConvertPolishLetters(std::string_view text, PolishCharset source,
                                 PolishCharset target) {
    const int from = CheckedCode(source);
    const int to = CheckedCode(target);
    if (from == to) {
        return std::string(text);
    }
    const auto& columns = kColumns[from];
    constexpr int kTwoChar = static_cast<int>(PolishCharset::pcTwoChar);
    constexpr int kAscii = static_cast<int>(PolishCharset::pcAscii);
    if (to != kTwoChar) {
        std::string result(text);
        for (char& c : result) {
            if (const int k = columns[static_cast<unsigned char>(c)]; k > 0) {
                c = static_cast<char>(PolishLetterTable[to][k]);
            }
        }
        return result;
    }
    if (from == kAscii) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size() * 2);
    for (const char c : text) {
        if (const int k = columns[static_cast<unsigned char>(c)]; k > 0) {
            result += static_cast<char>(PolishLetterTable[kTwoChar][k]);
            result += static_cast<char>(PolishLetterTable[kAscii][k]);
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace trevo

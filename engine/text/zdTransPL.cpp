#include "engine/text/zdTransPL.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

using ByteMap = std::array<unsigned char, 256>;
using TranslationMap = std::array<std::array<ByteMap, kPolishCharsetCount>, kPolishCharsetCount>;

constexpr int kAscii = static_cast<int>(PolishCharset::pcAscii);
constexpr int kTwoChar = static_cast<int>(PolishCharset::pcTwoChar);

// For every source and target representation, what each byte becomes when the length is kept:
// one lookup per byte. Into pcTwoChar the length is kept only from itself and from pcAscii, and
// then every byte stays as it is.
constexpr TranslationMap BuildTranslationMap() {
    TranslationMap map{};
    for (int from = 0; from < kPolishCharsetCount; ++from) {
        for (int to = 0; to < kPolishCharsetCount; ++to) {
            for (int byte = 0; byte < 256; ++byte) {
                const int k = kColumns[from][byte];
                const bool translated = k > 0 && from != to && to != kTwoChar;
                map[from][to][byte] =
                    static_cast<unsigned char>(translated ? PolishLetterTable[to][k] : byte);
            }
        }
    }
    return map;
}

constexpr TranslationMap kTranslations = BuildTranslationMap();

using AsciiKept = std::array<std::array<bool, kPolishCharsetCount>, kPolishCharsetCount>;

// Whether every byte below 128 stays as it is between two representations: then plain text,
// most of every field, is copied eight bytes at a time.
constexpr AsciiKept BuildAsciiKept() {
    AsciiKept kept{};
    for (int from = 0; from < kPolishCharsetCount; ++from) {
        for (int to = 0; to < kPolishCharsetCount; ++to) {
            kept[from][to] = true;
            for (int byte = 0; byte < 128; ++byte) {
                kept[from][to] = kept[from][to] && kTranslations[from][to][byte] == byte;
            }
        }
    }
    return kept;
}

constexpr AsciiKept kAsciiKept = BuildAsciiKept();

int CheckedCode(PolishCharset charset) {
    const int code = static_cast<int>(charset);
    if (code >= kPolishCharsetCount) {
        throw std::out_of_range("PolishCharset code above 5");
    }
    return code;
}

}  // namespace

void ConvertPolishLetters(std::string_view text, PolishCharset source, PolishCharset target,
                          std::string& out) {
    const int from = CheckedCode(source);
    const int to = CheckedCode(target);
    out.clear();
    if (to != kTwoChar || from == to || from == kAscii) {
        const ByteMap& bytes = kTranslations[from][to];
        out.assign(text);
        char* const chars = out.data();
        const auto translate = [&bytes, &text, chars](std::size_t i) {
            chars[i] = static_cast<char>(bytes[static_cast<unsigned char>(text[i])]);
        };
        std::size_t i = 0;
        if (kAsciiKept[from][to]) {
            // Plain text, most of every field, stays as copied: only blocks holding a byte
            // from 128 are translated. The blocks are read from the source, not from the copy
            // just stored.
            for (; i + 8 <= text.size(); i += 8) {
                std::uint64_t block;
                std::memcpy(&block, text.data() + i, sizeof block);
                if ((block & 0x8080808080808080ULL) != 0) {
                    for (std::size_t k = i; k < i + 8; ++k) {
                        translate(k);
                    }
                }
            }
            for (; i < text.size(); ++i) {
                if ((static_cast<unsigned char>(text[i]) & 0x80) != 0) {
                    translate(i);
                }
            }
            return;
        }
        for (; i < text.size(); ++i) {
            translate(i);
        }
        return;
    }
    const auto& columns = kColumns[from];
    out.reserve(text.size() * 2);
    for (const char c : text) {
        if (const int k = columns[static_cast<unsigned char>(c)]; k > 0) {
            out += static_cast<char>(PolishLetterTable[kTwoChar][k]);
            out += static_cast<char>(PolishLetterTable[kAscii][k]);
        } else {
            out += c;
        }
    }
}

std::string ConvertPolishLetters(std::string_view text, PolishCharset source,
                                 PolishCharset target) {
    std::string out;
    ConvertPolishLetters(text, source, target, out);
    return out;
}

}  // namespace trevo

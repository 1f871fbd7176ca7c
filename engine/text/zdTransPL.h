#pragma once
// Conversion of the eighteen Polish diacritic letters between six single-byte representations.
// Every other byte passes through unchanged.

#include <cstdint>
#include <string>
#include <string_view>

namespace trevo {

enum class PolishCharset : std::uint8_t {
    pcAscii = 0,
    pcMazovia = 1,
    pcCp852 = 2,
    pcTwoChar = 3,
    pcIso88592 = 4,
    pcWin1250 = 5,
};

inline constexpr int kPolishCharsetCount = 6;
inline constexpr int kPolishLetterCount = 18;

// Row r holds the eighteen letters ą ć ę ł ń ó ś ż ź Ą Ć Ę Ł Ń Ó Ś Ż Ź in representation r.
// Each row is kept as the ledger program keeps it: a length byte of 18, then the letters.
inline constexpr unsigned char PolishLetterTable[kPolishCharsetCount][1 + kPolishLetterCount] = {
    {18, 'a', 'c', 'e', 'l', 'n', 'o', 's', 'z', 'z', 'A', 'C', 'E', 'L', 'N', 'O', 'S', 'Z', 'Z'},
    {18, 134, 141, 145, 146, 164, 162, 158, 167, 166, 143, 149, 144, 156, 165, 163, 152, 161, 160},
    {18, 165, 134, 169, 136, 228, 162, 152, 190, 171, 164, 143, 168, 157, 227, 224, 151, 189, 141},
    {18, ',', '\'', ',', '/', '\'', '\'', '\'', '\'', '`', ',', '\'', ',', '/', '\'', '\'', '\'',
     '-', '\''},
    {18, 177, 230, 234, 179, 241, 243, 182, 191, 188, 161, 198, 202, 163, 209, 211, 166, 175, 172},
    {18, 185, 230, 234, 179, 241, 243, 156, 191, 159, 165, 198, 202, 163, 209, 211, 140, 175, 143},
};

// The text with every Polish letter of `source` replaced by the same letter in `target`.
// The length is kept, except into pcTwoChar, where a letter becomes a mark and its base letter.
// Each byte is looked at once and a letter is found by its first occurrence in the source row.
// Throws std::out_of_range for a code above 5; the system never passes one.
std::string ConvertPolishLetters(std::string_view text, PolishCharset source, PolishCharset target);
// The same into `out`, whose contents it replaces (`text` must not lie in it); reusing `out`
// spares an allocation per text.
void ConvertPolishLetters(std::string_view text, PolishCharset source, PolishCharset target,
                          std::string& out);

inline std::string FromWin1250(std::string_view text, PolishCharset target) {
    return ConvertPolishLetters(text, PolishCharset::pcWin1250, target);
}

inline void FromWin1250(std::string_view text, PolishCharset target, std::string& out) {
    ConvertPolishLetters(text, PolishCharset::pcWin1250, target, out);
}

inline std::string ToWin1250(std::string_view text, PolishCharset source) {
    return ConvertPolishLetters(text, source, PolishCharset::pcWin1250);
}

}  // namespace trevo

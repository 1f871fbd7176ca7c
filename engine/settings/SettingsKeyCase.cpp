#include "settings/SettingsKeyCase.h"

#include <array>

namespace trevo::settings {

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned i = 0; i < table.size(); ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    for (unsigned c = 'a'; c <= 'z'; ++c) {
        table[c] = static_cast<unsigned char>(c - 0x20);
    }
    // Letters of the upper half whose capitals lie elsewhere: š ś ť ž ź ł ą ş ľ ż.
    constexpr unsigned char kPairs[][2] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E},
                                           {0x9F, 0x8F}, {0xB3, 0xA3}, {0xB9, 0xA5}, {0xBA, 0xAA},
                                           {0xBE, 0xBC}, {0xBF, 0xAF}};
    for (const auto& pair : kPairs) {
        table[pair[0]] = pair[1];
    }
    // ŕ..ţ sit 0x20 above their capitals; 0xF7 is the division sign and 0xDF (ß) has none.
    for (unsigned c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {
            table[c] = static_cast<unsigned char>(c - 0x20);
        }
    }
    return table;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

}  // namespace

unsigned char UpperWin1250(unsigned char byte) {
    return kUpper[byte];
}

std::string FoldKey(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
    }
    return folded;
}

bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (kUpper[static_cast<unsigned char>(a[i])] != kUpper[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

}  // namespace trevo::settings

#pragma once
// The number forms of the export file's columns.
//
// Integer: spaces (code 32) skipped, an optional sign, then decimal digits or a hexadecimal
// number introduced by "$", "x", "X", "0x" or "0X"; the value must fit 32 signed bits (a
// hexadecimal number is taken as its 32-bit pattern).
//
// Real: spaces skipped, an optional sign that must be followed by something, decimal digits with
// at most one "." (either side may be empty), then optionally "E"/"e", an optional sign and at
// least one digit. The point is always ".", whatever the regional settings say.

#include <cstdint>
#include <optional>
#include <string_view>

namespace trevo {

struct IntegerParse {
    std::int32_t value = 0;  // on failure: what the characters before the offending one gave
    bool valid = false;
};

IntegerParse ParseInteger(std::string_view text);

// The binary64 value nearest to the number; nothing when the text is no real or its value lies
// beyond the binary64 range. Values too small for binary64 become zero.
std::optional<double> ParseReal(std::string_view text);

}  // namespace trevo

#pragma once
// Integer values of the settings file: decimal with a leading "-" when negative. Reading takes
// the program's integer syntax (exportfile/NumberSyntax.h), which also admits a sign and "$" hex.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trevo::settings {

std::string IntegerValueText(std::int32_t value);

// Nothing when the text is no integer of 32 bits.
std::optional<std::int32_t> ReadIntegerValue(std::string_view text);

// "'%s' is not a valid integer value", shown when a placement value cannot be read.
std::string InvalidIntegerMessage(std::string_view value);

}  // namespace trevo::settings

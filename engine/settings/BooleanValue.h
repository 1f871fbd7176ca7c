#pragma once
// Boolean values of the settings file. Written as "TRUE" or "FALSE"; read as true for TRUE,
// YES or Y and as false for FALSE, NO or N, in any letter case; any other value is read as an
// integer (an empty value counting as 0), non-zero meaning true.

#include <optional>
#include <string_view>

namespace trevo::settings {

std::string_view BooleanValueText(bool value);

// Nothing when the value is neither one of the words nor an integer.
std::optional<bool> ReadBooleanValue(std::string_view text);

}  // namespace trevo::settings

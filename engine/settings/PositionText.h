#pragma once
// The window positions of the settings file: four integers as "%d,%d,%d,%d" (the minimized and
// maximized positions, or the normal rectangle's left, top, right and bottom).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trevo::settings {

using PositionWords = std::array<std::int32_t, 4>;

std::string PositionText(const PositionWords& words);

// Word `number` (from 1) of `text`, words being the runs between commas; a run of commas counts
// as one separator and leading commas are skipped. Empty when there is no such word.
std::string_view PositionWord(std::string_view text, std::size_t number);

// Words 1 to 4; a word that is missing or no integer counts as 0.
PositionWords ReadPositionWords(std::string_view text);

}  // namespace trevo::settings

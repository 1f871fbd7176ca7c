#pragma once
// How the settings file writes and reads its values: integers, booleans, window positions,
// the screen-size suffix of position keys and the show command of a placement.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trevo::settings {

// Boolean values of the settings file. Written as "TRUE" or "FALSE"; read as true for TRUE,
// YES or Y and as false for FALSE, NO or N, in any letter case; any other value is read as an
// integer (an empty value counting as 0), non-zero meaning true.
std::string_view BooleanValueText(bool value);

// Nothing when the value is neither one of the words nor an integer.
std::optional<bool> ReadBooleanValue(std::string_view text);

// Integer values of the settings file: decimal with a leading "-" when negative. Reading takes
// the program's integer syntax (exportfile/NumberSyntax.h), which also admits a sign and "$" hex.
std::string IntegerValueText(std::int32_t value);

// Nothing when the text is no integer of 32 bits.
std::optional<std::int32_t> ReadIntegerValue(std::string_view text);

// "'%s' is not a valid integer value", shown when a placement value cannot be read.
std::string InvalidIntegerMessage(std::string_view value);

// The window positions of the settings file: four integers as "%d,%d,%d,%d" (the minimized and
// maximized positions, or the normal rectangle's left, top, right and bottom).
using PositionWords = std::array<std::int32_t, 4>;

std::string PositionText(const PositionWords& words);

// Word `number` (from 1) of `text`, words being the runs between commas; a run of commas counts
// as one separator and leading commas are skipped. Empty when there is no such word.
std::string_view PositionWord(std::string_view text, std::size_t number);

// Words 1 to 4; a word that is missing or no integer counts as 0.
PositionWords ReadPositionWords(std::string_view text);

// "(1024x768)" for a primary screen of 1024 by 768 pixels. Appended to the position keys, so
// that every screen size a window was saved on keeps its own positions.
std::string ScreenSizeSuffix(int width, int height);

// The show command of a window's placement, as the "ShowCmd" key holds it.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

enum class ShowState { Normal, Minimized, Maximized };

// 1, 5 and 9 mean normal; 2, 6 and 7 minimized; 3 maximized; every other value normal.
constexpr ShowState ShowStateOf(int showCommand) {
    switch (showCommand) {
        case 2:
        case 6:
        case 7:
            return ShowState::Minimized;
        case 3:
            return ShowState::Maximized;
        default:
            return ShowState::Normal;
    }
}

}  // namespace trevo::settings

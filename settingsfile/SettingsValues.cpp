#include "settingsfile/SettingsValues.h"

#include <array>

#include "engine/exportfile/NumberSyntax.h"
#include "engine/text/MessageFormat.h"
#include "settingsfile/SettingsFile.h"

namespace trevo::settings {

namespace {

// The first word of each list is the one written.
constexpr std::array<std::string_view, 3> kTrueWords = {"TRUE", "YES", "Y"};
constexpr std::array<std::string_view, 3> kFalseWords = {"FALSE", "NO", "N"};

bool IsOneOf(std::string_view upper, const std::array<std::string_view, 3>& words) {
    for (const std::string_view word : words) {
        if (upper == word) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string_view BooleanValueText(bool value) {
    return value ? kTrueWords[0] : kFalseWords[0];
}

std::optional<bool> ReadBooleanValue(std::string_view text) {
    const std::string upper = FoldKey(text);
    if (IsOneOf(upper, kTrueWords)) {
        return true;
    }
    if (IsOneOf(upper, kFalseWords)) {
        return false;
    }
    if (text.empty()) {
        return false;
    }
    if (const auto number = ReadIntegerValue(text)) {
        return *number != 0;
    }
    return std::nullopt;
}

std::string IntegerValueText(std::int32_t value) {
    return std::to_string(value);
}

std::optional<std::int32_t> ReadIntegerValue(std::string_view text) {
    const IntegerParse parsed = ParseInteger(text);
    if (!parsed.valid) {
        return std::nullopt;
    }
    return parsed.value;
}

std::string InvalidIntegerMessage(std::string_view value) {
    return FormatMessage("'%s' is not a valid integer value", {value});
}

std::string PositionText(const PositionWords& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += IntegerValueText(words[i]);
    }
    return text;
}

std::string_view PositionWord(std::string_view text, std::size_t number) {
    std::size_t pos = 0;
    for (std::size_t current = 1; pos < text.size(); ++current) {
        pos = text.find_first_not_of(',', pos);
        if (pos == std::string_view::npos) {
            break;
        }
        std::size_t end = text.find(',', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (current == number) {
            return text.substr(pos, end - pos);
        }
        pos = end;
    }
    return {};
}

PositionWords ReadPositionWords(std::string_view text) {
    PositionWords words{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = ReadIntegerValue(PositionWord(text, i + 1)).value_or(0);
    }
    return words;
}

std::string ScreenSizeSuffix(int width, int height) {
    return "(" + std::to_string(width) + "x" + std::to_string(height) + ")";
}

}  // namespace trevo::settings

#include "settings/BooleanValue.h"

#include <array>

#include "settings/IntegerValue.h"
#include "settings/SettingsKeyCase.h"

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

}  // namespace trevo::settings

#include "settings/PositionText.h"

#include "settings/IntegerValue.h"

namespace trevo::settings {

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

}  // namespace trevo::settings

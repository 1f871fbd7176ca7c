#include "desktop/MainWindowForm.h"

namespace trevo::desktop::form {

std::string KeyText(const Key& key) {
    std::string text;
    if (key.ctrl) {
        text += "Ctrl+";
    }
    if (key.shift) {
        text += "Shift+";
    }
    if (key.function > 0) {
        text += 'F' + std::to_string(key.function);
    } else {
        text += key.letter;
    }
    return text;
}

std::string ActionTooltip(const Action& action) {
    return std::string(action.hint) + " (" + KeyText(action.key) + ")";
}

}  // namespace trevo::desktop::form

#include "desktop/PathQuotes.h"

namespace trevo::desktop {

std::string QuotePathWithSpaces(std::string_view path) {
    if (path.find(' ') != std::string_view::npos && !path.starts_with('"')) {
        return "\"" + std::string(path) + "\"";
    }
    return std::string(path);
}

std::string UnquotePath(std::string_view text) {
    if (text.starts_with('"')) {
        text.remove_prefix(1);
    }
    if (text.ends_with('"')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

}  // namespace trevo::desktop

#include "settingsfile/FormSectionKeys.h"

namespace trevo::settings {

std::optional<StoredPropName> SplitStoredProp(std::string_view entry) {
    const std::size_t dot = entry.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == entry.size()) {
        return std::nullopt;
    }
    StoredPropName name;
    name.control = std::string(entry.substr(0, dot));
    name.property = std::string(entry.substr(dot + 1));
    name.key = name.control + "_" + name.property;
    return name;
}

}  // namespace trevo::settings

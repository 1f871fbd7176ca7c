#include "settings/IntegerValue.h"

#include "exportfile/NumberSyntax.h"
#include "text/MessageFormat.h"

namespace trevo::settings {

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

}  // namespace trevo::settings

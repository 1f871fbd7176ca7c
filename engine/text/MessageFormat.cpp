#include "engine/text/MessageFormat.h"

#include <charconv>

#include "engine/text/CurrencyFormat.h"

namespace trevo {

void AppendMessage(std::string& out, std::string_view format,
                   std::initializer_list<MessageArg> args, const CurrencyFormat* money) {
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        // The text up to the next directive in one piece; a '%' at the very end is text.
        const std::size_t percent = format.find('%', i);
        if (percent == std::string_view::npos || percent + 1 == format.size()) {
            out.append(format.substr(i));
            break;
        }
        out.append(format.substr(i, percent - i));
        i = percent + 1;
        const char directive = format[i];
        if (directive == '%') {
            out += '%';
            continue;
        }
        if (next == args.end()) {
            continue;  // a directive without its argument prints nothing
        }
        const auto& value = (next++)->Value();
        if (const auto* text = std::get_if<std::string_view>(&value)) {
            out += *text;
        } else if (const auto* number = std::get_if<std::int64_t>(&value)) {
            char digits[24];
            const auto result = std::to_chars(digits, digits + sizeof digits, *number);
            out.append(digits, result.ptr);
        } else if (const auto* amount = std::get_if<double>(&value); amount && money) {
            AppendMoney(out, *amount, *money);
        }
    }
}

std::string FormatMessage(std::string_view format, std::initializer_list<MessageArg> args,
                          const CurrencyFormat* money) {
    std::string out;
    AppendMessage(out, format, args, money);
    return out;
}

}  // namespace trevo

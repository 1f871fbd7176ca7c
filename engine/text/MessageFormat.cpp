#include "engine/text/MessageFormat.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "engine/text/CurrencyFormat.h"

namespace trevo {

namespace {

constexpr std::size_t kIntegerLength = std::numeric_limits<std::int64_t>::digits10 + 2;

}  // namespace

void AppendMessage(std::string& out, std::string_view format,
                   std::initializer_list<MessageArg> args, const CurrencyFormat* money) {
    // The filled text is written in place, into room for the longest it can be: a message is
    // formatted for every document, and appends piece by piece cost more than the pieces.
    std::size_t limit = format.size();
    for (const MessageArg& arg : args) {
        const auto& value = arg.Value();
        if (const auto* text = std::get_if<std::string_view>(&value)) {
            limit += text->size();
        } else if (std::holds_alternative<std::int64_t>(value)) {
            limit += kIntegerLength;
        } else if (money != nullptr) {
            limit += MoneyLengthLimit(*money);
        }
    }
    const std::size_t start = out.size();
    out.resize(start + limit);
    char* p = out.data() + start;

    auto next = args.begin();
    const char* f = format.data();
    const char* const end = f + format.size();
    while (f != end) {
        // The text up to the next directive in one piece; a '%' at the very end is text.
        const auto* percent = static_cast<const char*>(std::memchr(f, '%', end - f));
        if (percent == nullptr || percent + 1 == end) {
            std::memcpy(p, f, static_cast<std::size_t>(end - f));
            p += end - f;
            break;
        }
        std::memcpy(p, f, static_cast<std::size_t>(percent - f));
        p += percent - f;
        const char directive = percent[1];
        f = percent + 2;
        if (directive == '%') {
            *p++ = '%';
            continue;
        }
        if (next == args.end()) {
            continue;  // a directive without its argument prints nothing
        }
        const auto& value = (next++)->Value();
        if (const auto* text = std::get_if<std::string_view>(&value)) {
            p = std::copy_n(text->data(), text->size(), p);
        } else if (const auto* number = std::get_if<std::int64_t>(&value)) {
            p = std::to_chars(p, p + kIntegerLength, *number).ptr;
        } else if (const auto* amount = std::get_if<double>(&value); amount && money) {
            p = WriteMoney(p, *amount, *money);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string FormatMessage(std::string_view format, std::initializer_list<MessageArg> args,
                          const CurrencyFormat* money) {
    std::string out;
    AppendMessage(out, format, args, money);
    return out;
}

}  // namespace trevo

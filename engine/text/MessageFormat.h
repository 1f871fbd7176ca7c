#pragma once
// printf-like filling of the system's message texts, on byte strings: "%s" takes a text, "%d" an
// integer in plain decimal, "%m" an amount in the currency format. "%%" is a percent sign.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace trevo {

struct CurrencyFormat;

class MessageArg {
  public:
    MessageArg(std::string_view text) : value_(text) {}
    MessageArg(const std::string& text) : value_(std::string_view(text)) {}
    MessageArg(const char* text) : value_(std::string_view(text)) {}
    MessageArg(int number) : value_(std::int64_t{number}) {}
    MessageArg(unsigned number) : value_(std::int64_t{number}) {}
    MessageArg(long number) : value_(std::int64_t{number}) {}
    MessageArg(long long number) : value_(std::int64_t{number}) {}
    MessageArg(double amount) : value_(amount) {}

    const std::variant<std::string_view, std::int64_t, double>& Value() const { return value_; }

  private:
    std::variant<std::string_view, std::int64_t, double> value_;
};

// Appends `format` with its directives replaced by `args` in order. `money` is needed only
// when the format has "%m".
void AppendMessage(std::string& out, std::string_view format,
                   std::initializer_list<MessageArg> args, const CurrencyFormat* money = nullptr);

std::string FormatMessage(std::string_view format, std::initializer_list<MessageArg> args,
                          const CurrencyFormat* money = nullptr);

}  // namespace trevo

#pragma once
// Polish message texts are written in UTF-8 in the source and stored as Windows-1250 bytes,
// converted while compiling: "Błąd"_w1250 is the four bytes 42 B3 B9 64.

#include <cstddef>
#include <string_view>

#include "engine/text/Win1250.h"

namespace trevo::text {

template <std::size_t N>
struct Utf8Literal {
    char chars[N]{};
    consteval Utf8Literal(const char (&literal)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            chars[i] = literal[i];
        }
    }
};

template <std::size_t N>
struct Win1250Bytes {
    char chars[N]{};
    std::size_t size = 0;
};

template <std::size_t N>
consteval Win1250Bytes<N> ConvertLiteral(const Utf8Literal<N>& literal) {
    Win1250Bytes<N> result;
    const std::string_view utf8(literal.chars, N - 1);
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto codePoint = DecodeUtf8(utf8, pos);
        if (!codePoint) {
            throw "message text is not UTF-8";
        }
        const auto byte = CodePointToWin1250(*codePoint);
        if (!byte) {
            throw "message text has a character outside Windows-1250";
        }
        result.chars[result.size++] = static_cast<char>(*byte);
    }
    return result;
}

template <Utf8Literal Literal>
inline constexpr auto kWin1250Literal = ConvertLiteral(Literal);

}  // namespace trevo::text

namespace trevo::literals {

template <text::Utf8Literal Literal>
constexpr std::string_view operator""_w1250() {
    return {text::kWin1250Literal<Literal>.chars, text::kWin1250Literal<Literal>.size};
}

}  // namespace trevo::literals

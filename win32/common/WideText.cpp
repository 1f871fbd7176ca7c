#include "win32/common/WideText.h"

#include "engine/text/Win1250.h"

namespace trevo::win32 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendWide(std::wstring& out, char32_t codePoint) {
    if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(codePoint));
    }
}

// The code point at `pos` of UTF-16 text, moving past it.
char32_t NextCodePoint(std::wstring_view wide, std::size_t& pos) {
    const char32_t first = static_cast<char16_t>(wide[pos++]);
    if (first >= 0xD800 && first < 0xDC00 && pos < wide.size()) {
        const char32_t second = static_cast<char16_t>(wide[pos]);
        if (second >= 0xDC00 && second < 0xE000) {
            ++pos;
            return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        }
    }
    if (first >= 0xD800 && first < 0xE000) {
        return kReplacement;
    }
    return first;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::optional<char32_t> codePoint = text::DecodeUtf8(utf8, pos);
        if (!codePoint) {
            ++pos;
        }
        AppendWide(wide, codePoint.value_or(kReplacement));
    }
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    std::size_t pos = 0;
    while (pos < wide.size()) {
        text::AppendUtf8(utf8, NextCodePoint(wide, pos));
    }
    return utf8;
}

std::wstring WideFromWin1250(std::string_view win1250) {
    std::wstring wide;
    wide.reserve(win1250.size());
    for (const char byte : win1250) {
        AppendWide(wide, text::Win1250ToCodePoint(static_cast<unsigned char>(byte)));
    }
    return wide;
}

std::optional<std::string> Win1250FromWide(std::wstring_view wide) {
    std::string bytes;
    bytes.reserve(wide.size());
    std::size_t pos = 0;
    while (pos < wide.size()) {
        const std::optional<unsigned char> byte =
            text::CodePointToWin1250(NextCodePoint(wide, pos));
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

}  // namespace trevo::win32

#pragma once
// Text at the boundary to the wide Win32 calls: the windows hold UTF-16, the behaviour layer
// UTF-8 and the engine Windows-1250. Conversions happen here and nowhere else.

#include <optional>
#include <string>
#include <string_view>

namespace trevo::win32 {

std::wstring WideFromUtf8(std::string_view utf8);
// Invalid UTF-16 (a lone surrogate) becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

// Every Windows-1250 byte has its character; the five undefined ones stand for themselves.
std::wstring WideFromWin1250(std::string_view win1250);
// Nothing when a character has no Windows-1250 byte.
std::optional<std::string> Win1250FromWide(std::wstring_view wide);

}  // namespace trevo::win32

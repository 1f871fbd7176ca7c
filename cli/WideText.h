#pragma once
// UTF-8 and UTF-16 at the boundary to the Windows calls. Invalid sequences become U+FFFD.

#include <string>
#include <string_view>

namespace trevo::cli {

std::string WideToUtf8(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);

}  // namespace trevo::cli

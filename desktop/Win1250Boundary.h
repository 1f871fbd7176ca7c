#pragma once
// Texts of the front ends (UTF-8) into the engine's Windows-1250 where a text must be kept even
// when the code page lacks one of its characters: the settings file's values, the company a
// ledger directory names.

#include <string>
#include <string_view>

namespace trevo::desktop {

// Every character Windows-1250 has as its byte; any other, and a byte that is no UTF-8, as '?'
// (as the window toolkits' own conversions do).
std::string Win1250OrQuestionMarks(std::string_view utf8);

}  // namespace trevo::desktop

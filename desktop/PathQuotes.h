#pragma once
// Double quotes around paths: a chosen path with a space is shown quoted, and the export path
// box drops such quotes again when it is left. UTF-8 texts; a quote is one byte in UTF-8.

#include <string>
#include <string_view>

namespace trevo::desktop {

// A path that contains a space and does not begin with a double quote, enclosed in double quotes;
// any other text unchanged.
std::string QuotePathWithSpaces(std::string_view path);

// One leading and one trailing double quote removed, each where present; quotes inside are kept.
// Nothing is cut: a long path stays whole.
std::string UnquotePath(std::string_view text);

}  // namespace trevo::desktop

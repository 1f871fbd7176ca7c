#pragma once
// Double quotes around paths in boxes (UTF-8 or Windows-1250 alike: only '"' and ' ' count): a
// chosen path with a space is shown quoted, and the name taken from a box is without them.

#include <string>
#include <string_view>

namespace trevo::desktop {

// A path that contains a space and does not begin with a double quote, enclosed in double
// quotes; any other text unchanged.
std::string QuotePathWithSpaces(std::string_view path);

// One leading and one trailing double quote removed, each where present; quotes inside are
// kept. Nothing is cut: a long path stays whole.
std::string UnquotePath(std::string_view text);

}  // namespace trevo::desktop

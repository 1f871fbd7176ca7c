#pragma once
// A file the command line writes whole (the summary as JSON): the contents go to a new file
// beside it, which then replaces it in one step. A reader never sees half of it, and a symbolic
// link at the name is replaced, not followed.

#include <string>
#include <string_view>

namespace trevo::cli {

// False, with the reason in `error` (UTF-8), when the file could not be written.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace trevo::cli

#pragma once
// Text bound for a terminal. Bytes of a record or an export must not act on the screen: an ESC
// could move the cursor, clear the screen or rewrite earlier lines.

#include <string>
#include <string_view>

namespace trevo::cli {

// Appends Windows-1250 `text` in UTF-8 with every control character shown visibly: C0 and DEL
// in caret notation ("^[" for ESC, "^J" for LF, "^?" for DEL), the C1 range as U+FFFD.
void AppendVisible(std::string& out, std::string_view text);

}  // namespace trevo::cli

#include "cli/TerminalText.h"

#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kReplacement = 0xFFFD;
}  // namespace

void AppendVisible(std::string& out, std::string_view text) {
    for (const char c : text) {
        const char32_t code = text::Win1250ToCodePoint(static_cast<unsigned char>(c));
        if (code < 0x20 || code == kDelete) {
            out += '^';
            out += static_cast<char>(code ^ 0x40);  // ESC 0x1B shows as '[', DEL as '?'
        } else if (code >= 0x80 && code < 0xA0) {
            text::AppendUtf8(out, kReplacement);
        } else {
            text::AppendUtf8(out, code);
        }
    }
}

}  // namespace trevo::cli

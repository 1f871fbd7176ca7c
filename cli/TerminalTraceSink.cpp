#include "cli/TerminalTraceSink.h"

#include <unistd.h>

#include "cli/Utf8TraceSink.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kReplacement = 0xFFFD;
}  // namespace

std::string TerminalTraceSink::Visible(std::string_view line) {
    std::string shown;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == '\r' && i + 1 < line.size() && line[i + 1] == '\n') {
            continue;  // CR LF prints as the LF alone
        }
        const char32_t code = text::Win1250ToCodePoint(byte);
        if (code == '\n') {
            shown += '\n';
        } else if (code < 0x20 || code == kDelete) {
            shown += '^';
            shown += static_cast<char>(code ^ 0x40);  // ESC 0x1B shows as '[', DEL as '?'
        } else if (code >= 0x80 && code < 0xA0) {
            text::AppendUtf8(shown, kReplacement);
        } else {
            text::AppendUtf8(shown, code);
        }
    }
    shown += '\n';
    return shown;
}

void TerminalTraceSink::AppendLine(std::string_view line) {
    const std::string shown = Visible(line);
    failed_ |= std::fwrite(shown.data(), 1, shown.size(), out_) != shown.size();
    failed_ |= std::fflush(out_) != 0;
}

bool TerminalTraceSink::Flush() {
    failed_ |= std::fflush(out_) != 0;
    return !failed_;
}

std::unique_ptr<OutputTraceSink> TraceSinkFor(std::FILE* out) {
    if (::isatty(::fileno(out)) == 1) {
        return std::make_unique<TerminalTraceSink>(out);
    }
    return std::make_unique<Utf8TraceSink>(out);
}

}  // namespace trevo::cli

#include "cli/TerminalTraceSink.h"

#include "cli/ConsoleOutput.h"
#include "cli/TerminalText.h"
#include "cli/Utf8TraceSink.h"

namespace trevo::cli {

std::string TerminalTraceSink::Visible(std::string_view line) {
    std::string shown;
    for (;;) {
        const std::size_t lf = line.find('\n');
        std::string_view piece = line.substr(0, lf);
        if (lf != std::string_view::npos && piece.ends_with('\r')) {
            piece.remove_suffix(1);  // CR LF prints as the LF alone
        }
        AppendVisible(shown, piece);
        shown += '\n';
        if (lf == std::string_view::npos) {
            return shown;
        }
        line.remove_prefix(lf + 1);
    }
}

void TerminalTraceSink::AppendLine(std::string_view line) {
    const std::string shown = Visible(line);
    failed_ |= !WriteText(out_, shown);
    failed_ |= std::fflush(out_) != 0;
}

bool TerminalTraceSink::Flush() {
    failed_ |= std::fflush(out_) != 0;
    return !failed_;
}

std::unique_ptr<OutputTraceSink> TraceSinkFor(std::FILE* out) {
    if (IsTerminal(out)) {
        return std::make_unique<TerminalTraceSink>(out);
    }
    return std::make_unique<Utf8TraceSink>(out);
}

}  // namespace trevo::cli

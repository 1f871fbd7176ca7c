#include "cli/Diagnostic.h"

#include "engine/text/Win1250.h"

namespace trevo::cli {

std::string DiagnosticLine(std::string_view command, const std::string& sentence) {
    std::string text = sentence;
    // The engine's sentences begin with a plain letter; a Polish capital would stay as it is.
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    std::string line = "trevo2kpr-cli ";
    line += command;
    line += ": ";
    line += text::Win1250ToUtf8(text);
    return line;
}

}  // namespace trevo::cli

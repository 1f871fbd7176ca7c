#include "cli/Diagnostic.h"

#include <cstdio>

#include "engine/text/Win1250.h"

namespace trevo::cli {

void PrintDiagnostic(std::string_view command, const std::string& sentence) {
    std::string text = sentence;
    // The engine's sentences begin with a plain letter; a Polish capital would stay as it is.
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    std::fprintf(stderr, "trevo2kpr-cli %.*s: %s\n", static_cast<int>(command.size()),
                 command.data(), text::Win1250ToUtf8(text).c_str());
}

}  // namespace trevo::cli

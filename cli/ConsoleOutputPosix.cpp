#include <unistd.h>

#include "cli/ConsoleOutput.h"

namespace trevo::cli {

void PrepareStandardStreams() {}

bool IsTerminal(std::FILE* out) {
    return ::isatty(::fileno(out)) == 1;
}

bool WriteText(std::FILE* out, std::string_view utf8) {
    return std::fwrite(utf8.data(), 1, utf8.size(), out) == utf8.size();
}

}  // namespace trevo::cli

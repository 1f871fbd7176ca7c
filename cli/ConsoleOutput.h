#pragma once
// Text for standard output and standard error, UTF-8. A file or a pipe gets the bytes as they
// are, on every platform. A terminal gets characters: on Linux the same bytes (the terminal
// reads UTF-8); on Windows a console shows text in its own code page (437, 852, ...), so the
// text goes to it as UTF-16 through WriteConsoleW and shows right whatever that code page is.

#include <cstdio>
#include <string>
#include <string_view>

namespace trevo::cli {

// Before anything is printed: on Windows standard input, output and error in binary mode, so
// that a file or a pipe gets LF line ends, the bytes the Linux program writes.
void PrepareStandardStreams();

// Whether `out` writes to a terminal: isatty on Linux; on Windows a console, asked with
// GetConsoleMode (the C runtime's isatty also says yes for the NUL device).
bool IsTerminal(std::FILE* out);

// Writes `utf8` to `out` and, for a terminal, flushes it. False when any of it could not be
// written (a closed or missing stream included).
bool WriteText(std::FILE* out, std::string_view utf8);

// One line on standard error (the LF is added), flushed.
inline void PrintError(std::string_view utf8) {
    std::string line(utf8);
    line += '\n';
    WriteText(stderr, line);
    std::fflush(stderr);
}

}  // namespace trevo::cli

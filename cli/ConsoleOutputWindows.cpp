#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>

#include "cli/ConsoleOutput.h"
#include "cli/WideText.h"

namespace trevo::cli {

namespace {

// The console behind `out`, or nothing when it goes elsewhere (or nowhere).
HANDLE ConsoleOf(std::FILE* out) {
    const int descriptor = ::_fileno(out);
    if (descriptor < 0) {
        return nullptr;
    }
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !::GetConsoleMode(handle, &mode)) {
        return nullptr;
    }
    return handle;
}

// Old consoles take at most about 64 KiB per call; a smaller piece is always safe.
constexpr DWORD kConsolePiece = 8 * 1024;

bool WriteToConsole(HANDLE console, std::wstring_view text) {
    while (!text.empty()) {
        DWORD piece = static_cast<DWORD>(std::min<std::size_t>(text.size(), kConsolePiece));
        if (piece < text.size() && IS_HIGH_SURROGATE(text[piece - 1])) {
            --piece;  // a pair stays whole
        }
        DWORD written = 0;
        if (!::WriteConsoleW(console, text.data(), piece, &written, nullptr) || written == 0) {
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

void PrepareStandardStreams() {
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        const int descriptor = ::_fileno(stream);
        if (descriptor >= 0) {
            ::_setmode(descriptor, _O_BINARY);
        }
    }
}

bool IsTerminal(std::FILE* out) {
    return ConsoleOf(out) != nullptr;
}

bool WriteText(std::FILE* out, std::string_view utf8) {
    const HANDLE console = ConsoleOf(out);
    if (console == nullptr) {
        return std::fwrite(utf8.data(), 1, utf8.size(), out) == utf8.size();
    }
    // Whatever went through the stream before comes first.
    const bool flushed = std::fflush(out) == 0;
    return WriteToConsole(console, Utf8ToWide(utf8)) && flushed;
}

}  // namespace trevo::cli

#include "tests/windows/ConsoleScreen.h"

namespace trevo::windows_tests {

bool HasConsole() {
    const HANDLE console =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode = 0;
    const bool has = console != INVALID_HANDLE_VALUE && ::GetConsoleMode(console, &mode);
    if (console != INVALID_HANDLE_VALUE) {
        ::CloseHandle(console);
    }
    return has;
}

std::wstring ScreenText(HANDLE console, SHORT top) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!::GetConsoleScreenBufferInfo(console, &info)) {
        return {};
    }
    std::wstring text;
    for (SHORT row = top; row <= info.dwCursorPosition.Y; ++row) {
        std::wstring line(static_cast<std::size_t>(info.dwSize.X), L' ');
        DWORD read = 0;
        ::ReadConsoleOutputCharacterW(console, line.data(), static_cast<DWORD>(line.size()),
                                      COORD{0, row}, &read);
        line.resize(read);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += line + L"\n";
    }
    return text;
}

}  // namespace trevo::windows_tests

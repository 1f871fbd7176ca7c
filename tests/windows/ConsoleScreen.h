#pragma once
// What a console shows, read back from its screen buffer, for tests of console output.

#include <windows.h>

#include <string>

namespace trevo::windows_tests {

// Whether this process has a console (under Wine only when it runs on a terminal).
bool HasConsole();

// The characters on the console's screen from row `top` to the cursor's row, each row without
// its trailing blanks and ended by LF.
std::wstring ScreenText(HANDLE console, SHORT top);

}  // namespace trevo::windows_tests

#pragma once
// The system's message boxes and beep. Questions are asked with No (or Cancel) as the default
// button, so that Enter pressed by habit changes nothing.

#include <windows.h>

#include <optional>
#include <string>

namespace trevo::win32 {

// Yes/No with an information icon; true for Yes.
bool AskYesNo(HWND owner, const std::wstring& caption, const std::wstring& text);
// Yes/No/Cancel with a question icon: true for Yes, false for No, nothing for Cancel.
std::optional<bool> AskYesNoCancel(HWND owner, const std::wstring& caption,
                                   const std::wstring& text);
// The plain box: OK only, no icon, the program's title as its caption.
void ShowPlainMessage(HWND owner, const std::wstring& text);
// An error box for an error that escaped a handler.
void ShowErrorBox(HWND owner, const std::wstring& text);
// The system's default beep.
void Beep();

// The program's title: the program file's name without its folder, cut before its first dot,
// every letter after the first in lower case ("trevo2KPR.exe" gives "Trevo2kpr").
std::wstring ApplicationTitle();

}  // namespace trevo::win32

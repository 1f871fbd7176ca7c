#include "win32/common/MessageBoxes.h"

#include <cwctype>

#include "win32/common/ProgramFile.h"

namespace trevo::win32 {

bool AskYesNo(HWND owner, const std::wstring& caption, const std::wstring& text) {
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(),
                         MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDYES;
}

std::optional<bool> AskYesNoCancel(HWND owner, const std::wstring& caption,
                                   const std::wstring& text) {
    switch (::MessageBoxW(owner, text.c_str(), caption.c_str(),
                          MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3)) {
        case IDYES:
            return true;
        case IDNO:
            return false;
        default:
            return std::nullopt;
    }
}

void ShowPlainMessage(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), ApplicationTitle().c_str(), MB_OK);
}

void ShowErrorBox(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONERROR);
}

void Beep() {
    ::MessageBeep(MB_OK);
}

std::wstring ApplicationTitle() {
    const std::wstring path = ProgramFilePath();
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.find(L'.'));
    for (std::size_t i = 1; i < name.size(); ++i) {
        name[i] = static_cast<wchar_t>(std::towlower(name[i]));
    }
    return name;
}

}  // namespace trevo::win32

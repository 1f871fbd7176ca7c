#include "tests/win32/WindowDriver.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "win32/mainwindow/ControlIds.h"

namespace trevo::win32_tests {

namespace {

constexpr DWORD kPatienceMs = 60'000;

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (process == search.process && std::wstring(className) == win32::kMainWindowClass &&
        ::IsWindowVisible(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring ControlText(HWND window, int id) {
    wchar_t text[4096] = {};
    ::SendDlgItemMessageW(window, id, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

void SetControlText(HWND window, int id, const std::wstring& text) {
    ::SendDlgItemMessageW(window, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsChecked(HWND window, int id) {
    return ::SendDlgItemMessageW(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND window, int id) {
    ::SendDlgItemMessageW(window, id, BM_CLICK, 0, 0);
}

void Command(HWND window, int command) {
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 1), 0);
}

SIZE NeededSize(HWND control) {
    wchar_t text[512] = {};
    const int length = ::GetWindowTextW(control, text, static_cast<int>(std::size(text)));
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    const HDC dc = ::GetDC(control);
    const HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, length, &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (_wcsicmp(className, L"Button") == 0 &&
        (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX || style == BS_AUTORADIOBUTTON ||
         style == BS_RADIOBUTTON)) {
        // The box and the gap before the caption.
        size.cx += ::GetSystemMetricsForDpi(SM_CXMENUCHECK, ::GetDpiForWindow(control)) +
                   MulDiv(3, static_cast<int>(::GetDpiForWindow(control)), 96);
    }
    return size;
}

std::vector<std::pair<std::string, std::string>> PeriodFiles(const std::wstring& directory) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (name.find("ORMEK.") == std::string::npos) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files.emplace_back(name, bytes.str());
    }
    std::sort(files.begin(), files.end());
    return files;
}

ProgramChild::ProgramChild(const std::wstring& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process_);
}

ProgramChild::~ProgramChild() {
    if (process_.hProcess != nullptr) {
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.hProcess, 99);
            ::WaitForSingleObject(process_.hProcess, kPatienceMs);
        }
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
    }
}

HWND ProgramChild::WaitForWindow() {
    if (process_.hProcess == nullptr) {
        return nullptr;
    }
    ::WaitForInputIdle(process_.hProcess, kPatienceMs);
    const ULONGLONG until = ::GetTickCount64() + kPatienceMs;
    while (window_ == nullptr && ::GetTickCount64() < until) {
        Search search{process_.dwProcessId, nullptr};
        ::EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
        window_ = search.found;
        if (window_ == nullptr) {
            ::Sleep(50);
        }
    }
    return window_;
}

bool ProgramChild::CloseAndWait(DWORD& exitCode) {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        return false;
    }
    return ::GetExitCodeProcess(process_.hProcess, &exitCode) != 0;
}

}  // namespace trevo::win32_tests

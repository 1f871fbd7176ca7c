#pragma once
// Driving the Windows main window without a mouse: its controls found by ID and sent the
// messages a user's typing and clicks send, in the test's own process or in a trevo2KPR.exe
// started as a child.

#include <windows.h>

#include <string>
#include <vector>

namespace trevo::win32_tests {

std::wstring ControlText(HWND window, int id);
void SetControlText(HWND window, int id, const std::wstring& text);
bool IsChecked(HWND window, int id);
// BM_CLICK: pressed and released, as a click does.
void Click(HWND window, int id);
// An action's command, as its key or toolbar button sends it.
void Command(HWND window, int command);

// A child window's caption measured in its own font: the room it needs in its client
// rectangle (a check box's or radio button's box included).
SIZE NeededSize(HWND control);

// The ORMEK period files of a ledger directory, by name, with their bytes.
std::vector<std::pair<std::string, std::string>> PeriodFiles(const std::wstring& directory);

// trevo2KPR.exe started as a child process; killed when still running at the end.
class ProgramChild {
  public:
    explicit ProgramChild(const std::wstring& program);
    ProgramChild(const ProgramChild&) = delete;
    ProgramChild& operator=(const ProgramChild&) = delete;
    ~ProgramChild();

    // Its main window once shown; nullptr when none came within a minute.
    HWND WaitForWindow();
    // Asks the window to close (the title bar's X) and waits for the exit; its status, or
    // nothing within a minute.
    bool CloseAndWait(DWORD& exitCode);

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

}  // namespace trevo::win32_tests

// The program trevo2KPR.exe: initialises COM (the system's file dialogs) and the common
// controls, creates the main window and runs the message loop until the window is closed.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "win32/mainwindow/MainWindow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
        return 1;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES;
    ::InitCommonControlsEx(&controls);

    int status = 0;
    {
        trevo::win32::MainWindow window;
        if (!window.Create()) {
            ::CoUninitialize();
            return 1;
        }
        window.SetQuitOnDestroy(true);
        window.Show(showCommand);
        MSG message;
        BOOL got = 0;
        while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0 && got != -1) {
            if (!window.PreTranslate(message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
        status = got == -1 ? 1 : static_cast<int>(message.wParam);
    }
    ::CoUninitialize();
    return status;
}

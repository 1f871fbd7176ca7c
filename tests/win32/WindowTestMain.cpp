// The window tests' entry: the process is per-monitor DPI aware and uses common controls v6,
// as trevo2KPR.exe is by its manifest (this program carries the same one), with COM for the
// system's dialogs.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>

int main(int argc, char** argv) {
    if (!::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES;
    ::InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    ::CoUninitialize();
    return status;
}

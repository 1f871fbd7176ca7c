#pragma once
// The main window's child control IDs and command IDs. Tests find the controls by them
// (GetDlgItem) and send them messages, as a user's clicks and keys would.

#include "desktop/MainWindowForm.h"

namespace trevo::win32 {

// In Tab order, each label before its box, as screen readers take a box's name from it.
enum ControlId : int {
    kIdToolBar1 = 1000,
    kIdLabel1,
    kIdDeKpr,
    kIdDeKprBrowse,
    kIdLabel2,
    kIdFeEpp,
    kIdFeEppBrowse,
    kIdChSprawdz,
    kIdLabel3,
    kIdEditAtrybut,
    kIdLabel4,
    kIdEditRej,
    kIdRbMaz,
    kIdRb852,
    kIdMemoTrace,
    kIdStatusBar,
};

// An action's command (accelerator, toolbar button): kCommandBase + its ActionId.
inline constexpr int kCommandBase = 2000;
constexpr int CommandOf(desktop::form::ActionId action) {
    return kCommandBase + static_cast<int>(action);
}

// The main window's class name, for FindWindow.
inline constexpr wchar_t kMainWindowClass[] = L"trevo2KPR.FormMain";

}  // namespace trevo::win32

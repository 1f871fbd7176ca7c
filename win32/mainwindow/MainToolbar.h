#pragma once
// The main window's toolbar (the actions' images as the Qt window shows them, no texts) and its
// keyboard shortcuts (an accelerator table), both from the actions of desktop/MainWindowForm.h.

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "win32/common/DpiScale.h"

namespace trevo::win32 {

class HintSwitch;

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ::ImageList_Destroy(list); }
};
struct AcceleratorDeleter {
    void operator()(HACCEL table) const { ::DestroyAcceleratorTable(table); }
};
using AcceleratorHandle = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorDeleter>;

class MainToolbar {
  public:
    void Create(HWND parent);
    // Images, buttons and hints at `scale`, within the design rectangle.
    void Place(const DpiScale& scale, HintSwitch& hints);
    // act_Help's button shown pressed while hints are on.
    void SetHelpPressed(bool pressed);
    HWND Handle() const { return toolbar_; }

  private:
    HWND toolbar_ = nullptr;
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter> images_;
    std::vector<std::wstring> captions_;  // the buttons' texts, which the toolbar points to
    bool hintsAdded_ = false;
};

// Ctrl+R, Ctrl+F, F1, Ctrl+L, Ctrl+Q and Ctrl+Shift+C, sending the actions' commands.
AcceleratorHandle MakeAccelerators();

}  // namespace trevo::win32

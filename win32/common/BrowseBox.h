#pragma once
// A single-line box with a browse button at its right end ("…"): the box takes the text, the
// button opens a chooser that the owner supplies. Both are Tab stops, the box first.

#include <windows.h>

#include <functional>
#include <string>

#include "win32/common/DpiScale.h"

namespace trevo::win32 {

class BrowseBox {
  public:
    // Called when the button is pressed.
    using Browse = std::function<void()>;

    // Creates both children of `parent`; the box gets `boxId`, the button `buttonId`.
    void Create(HWND parent, int boxId, int buttonId, Browse browse);
    // Box and button within the design rectangle.
    void Place(const DpiScale& scale, int left, int top, int width, int height);
    void SetFont(HFONT font);

    // Handles the parent's WM_COMMAND from the button; false when it came from elsewhere.
    bool OnCommand(WPARAM wParam, LPARAM lParam);

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    HWND Box() const { return box_; }
    HWND Button() const { return button_; }

  private:
    HWND box_ = nullptr;
    HWND button_ = nullptr;
    Browse browse_;
};

// A window's text.
std::wstring WindowText(HWND window);

}  // namespace trevo::win32

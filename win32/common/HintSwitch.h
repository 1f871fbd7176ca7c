#pragma once
// Hints (tooltips) for a whole window, switched on and off together (F1): one tooltip control
// holds a tool per control; off, it shows none.

#include <windows.h>

#include <string>

namespace trevo::win32 {

class HintSwitch {
  public:
    HintSwitch() = default;
    HintSwitch(const HintSwitch&) = delete;
    HintSwitch& operator=(const HintSwitch&) = delete;
    ~HintSwitch();

    // Makes the tooltip control for `window`'s controls; hints start off.
    void Create(HWND window);
    // `control`'s hint; lines separated by "\n".
    void Add(HWND control, const std::wstring& hint);
    // The hint of a part of `window` (a toolbar's button has its own tooltips).
    void AddRect(HWND window, UINT id, const RECT& rect, const std::wstring& hint);
    // The part's rectangle after a new layout.
    void MoveRect(HWND window, UINT id, const RECT& rect);
    void SetOn(bool on);
    bool IsOn() const { return on_; }
    HWND Handle() const { return tooltip_; }

  private:
    HWND tooltip_ = nullptr;
    HWND owner_ = nullptr;
    bool on_ = false;
};

}  // namespace trevo::win32

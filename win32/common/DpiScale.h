#pragma once
// Design pixels (96 per inch) on a monitor of any DPI. Each window asks its own DPI
// (GetDpiForWindow, per-monitor v2) and rebuilds its font and positions on WM_DPICHANGED.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace trevo::win32 {

inline constexpr UINT kDesignDpi = 96;

class DpiScale {
  public:
    DpiScale() = default;
    explicit DpiScale(UINT dpi) : dpi_(dpi == 0 ? kDesignDpi : dpi) {}
    // The DPI of the monitor the window is on.
    static DpiScale Of(HWND window);

    UINT Dpi() const { return dpi_; }
    // Rounded to the nearest pixel.
    int Px(int design) const { return MulDiv(design, static_cast<int>(dpi_), kDesignDpi); }
    RECT Rect(int left, int top, int width, int height) const;
    // A system metric at this DPI (GetSystemMetricsForDpi).
    int Metric(int index) const;

  private:
    UINT dpi_ = kDesignDpi;
};

struct FontDeleter {
    void operator()(HFONT font) const { ::DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The system's message font (NONCLIENTMETRICS.lfMessageFont) at `dpi`: what dialogs use.
FontHandle MessageFont(UINT dpi);

// WM_DPICHANGED: moves the window to the rectangle the system proposes (in its lParam).
void ApplySuggestedRect(HWND window, LPARAM suggested);

}  // namespace trevo::win32

#pragma once
// Design pixels on a monitor of any DPI, in any font. The windows are designed for an 8-point
// sans-serif font at 96 pixels per inch; each window asks its own DPI (GetDpiForWindow,
// per-monitor v2), takes the system's message font at that DPI and scales every position by
// the larger of the DPI's ratio and the font's (across by the average letter width, down by the
// line height), so that captions fit in the same arrangement. Rebuilt on WM_DPICHANGED.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace trevo::win32 {

inline constexpr UINT kDesignDpi = 96;

struct FontDeleter {
    void operator()(HFONT font) const { ::DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The system's message font (NONCLIENTMETRICS.lfMessageFont) at `dpi`: what dialogs use.
FontHandle MessageFont(UINT dpi);

class DpiScale {
  public:
    DpiScale() = default;
    // Plain DPI scaling, without a font.
    explicit DpiScale(UINT dpi);
    // The scale for a window at `dpi` drawn in `font`.
    static DpiScale ForFont(UINT dpi, HFONT font);
    // The DPI of the monitor `window` is on.
    static UINT DpiOf(HWND window);

    UINT Dpi() const { return dpi_; }
    // Rounded to the nearest pixel.
    int X(int designX) const;
    int Y(int designY) const;
    // Edges are scaled, not sizes, so that controls that touch at design still touch.
    RECT Rect(int left, int top, int width, int height) const;
    // By the DPI alone (icons, system parts).
    int Px(int design) const { return MulDiv(design, static_cast<int>(dpi_), kDesignDpi); }
    // A system metric at this DPI (GetSystemMetricsForDpi).
    int Metric(int index) const;

  private:
    UINT dpi_ = kDesignDpi;
    double across_ = 1;
    double down_ = 1;
};

// The size `text` takes in `font`.
SIZE TextExtent(HWND window, HFONT font, const wchar_t* text, int length);

// WM_DPICHANGED: moves the window to the rectangle the system proposes (in its lParam).
void ApplySuggestedRect(HWND window, LPARAM suggested);

}  // namespace trevo::win32

#pragma once
// Where a restored window goes when the screens have changed since its placement was saved: a
// rule over plain rectangles, so that it holds whatever draws the window.

#include <vector>

namespace trevo::settings {

// A rectangle in screen pixels: right = left + width, bottom = top + height.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// What the window system draws around a window's rectangle (title bar, borders).
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The rectangle for a window saved at `saved`, on the screens there are now (their areas
// free for windows, the primary screen first). The window goes on the screen that shows the
// most of it, or the primary when none shows any; it keeps its size and moves the least that
// shows it whole, frame included. A window larger than that screen becomes as large as fits,
// but not smaller than its minimum size, with its top-left corner on the screen. Without
// screens, or for a rectangle with no width, `saved` is returned as it is.
ScreenRect FitOnScreens(const ScreenRect& saved, const std::vector<ScreenRect>& screens,
                        const FrameMargins& frame, int minimumWidth, int minimumHeight);

}  // namespace trevo::settings

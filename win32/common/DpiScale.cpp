#include "win32/common/DpiScale.h"

namespace trevo::win32 {

DpiScale DpiScale::Of(HWND window) {
    return DpiScale(::GetDpiForWindow(window));
}

RECT DpiScale::Rect(int left, int top, int width, int height) const {
    const int x = Px(left);
    const int y = Px(top);
    return RECT{x, y, x + Px(width), y + Px(height)};
}

int DpiScale::Metric(int index) const {
    return ::GetSystemMetricsForDpi(index, dpi_);
}

FontHandle MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        // Older systems: the metrics at the system DPI, scaled.
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        const HDC screen = ::GetDC(nullptr);
        const int systemDpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        metrics.lfMessageFont.lfHeight =
            MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    }
    return FontHandle(::CreateFontIndirectW(&metrics.lfMessageFont));
}

void ApplySuggestedRect(HWND window, LPARAM suggested) {
    const RECT& rect = *reinterpret_cast<const RECT*>(suggested);
    ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace trevo::win32

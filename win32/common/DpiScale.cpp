#include "win32/common/DpiScale.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace trevo::win32 {

namespace {

// The design font's metrics at 96 pixels per inch: the 52 letters A-Z a-z together, and one
// line's height (as the Qt windows' FormScale has them).
constexpr double kDesignAlphabetWidth = 286;
constexpr double kDesignLineHeight = 13;
constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

}  // namespace

DpiScale::DpiScale(UINT dpi)
    : dpi_(dpi == 0 ? kDesignDpi : dpi),
      across_(static_cast<double>(dpi_) / kDesignDpi),
      down_(across_) {}

DpiScale DpiScale::ForFont(UINT dpi, HFONT font) {
    DpiScale scale(dpi);
    const SIZE alphabet =
        TextExtent(nullptr, font, kAlphabet, static_cast<int>(std::wcslen(kAlphabet)));
    TEXTMETRICW metrics{};
    const HDC dc = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, font);
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    scale.across_ = std::max(scale.across_, alphabet.cx / kDesignAlphabetWidth);
    scale.down_ = std::max(scale.down_, metrics.tmHeight / kDesignLineHeight);
    return scale;
}

UINT DpiScale::DpiOf(HWND window) {
    const UINT dpi = ::GetDpiForWindow(window);
    return dpi == 0 ? kDesignDpi : dpi;
}

int DpiScale::X(int designX) const {
    return static_cast<int>(std::lround(designX * across_));
}

int DpiScale::Y(int designY) const {
    return static_cast<int>(std::lround(designY * down_));
}

RECT DpiScale::Rect(int left, int top, int width, int height) const {
    return RECT{X(left), Y(top), X(left + width), Y(top + height)};
}

int DpiScale::Metric(int index) const {
    return ::GetSystemMetricsForDpi(index, dpi_);
}

FontHandle MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        // Without the per-DPI call: the metrics at the system DPI, scaled.
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        const HDC screen = ::GetDC(nullptr);
        const int systemDpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        metrics.lfMessageFont.lfHeight =
            MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    }
    return FontHandle(::CreateFontIndirectW(&metrics.lfMessageFont));
}

SIZE TextExtent(HWND window, HFONT font, const wchar_t* text, int length) {
    SIZE size{};
    const HDC dc = ::GetDC(window);
    const HGDIOBJ old = ::SelectObject(dc, font);
    ::GetTextExtentPoint32W(dc, text, length, &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return size;
}

void ApplySuggestedRect(HWND window, LPARAM suggested) {
    const RECT& rect = *reinterpret_cast<const RECT*>(suggested);
    ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace trevo::win32

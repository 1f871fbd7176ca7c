#include "win32/common/BrowseBox.h"

#include <utility>

namespace trevo::win32 {

void BrowseBox::Create(HWND parent, int boxId, int buttonId, Browse browse) {
    browse_ = std::move(browse);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    box_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(boxId)), instance, nullptr);
    button_ = ::CreateWindowExW(
        0, L"BUTTON", L"…", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttonId)), instance, nullptr);
}

void BrowseBox::Place(const DpiScale& scale, int left, int top, int width, int height) {
    const RECT whole = scale.Rect(left, top, width, height);
    const int high = whole.bottom - whole.top;
    // The button is square, as high as the box.
    const int buttonWidth = high;
    ::MoveWindow(box_, whole.left, whole.top, whole.right - whole.left - buttonWidth, high, TRUE);
    ::MoveWindow(button_, whole.right - buttonWidth, whole.top, buttonWidth, high, TRUE);
}

void BrowseBox::SetFont(HFONT font) {
    ::SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ::SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool BrowseBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != button_ || HIWORD(wParam) != BN_CLICKED) {
        return false;
    }
    if (browse_) {
        browse_();
    }
    return true;
}

std::wstring BrowseBox::Text() const {
    return WindowText(box_);
}

void BrowseBox::SetText(const std::wstring& text) {
    ::SetWindowTextW(box_, text.c_str());
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length < 0 ? 0 : length));
    return text;
}

}  // namespace trevo::win32

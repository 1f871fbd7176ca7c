#include "win32/common/HintSwitch.h"

#include <commctrl.h>

namespace trevo::win32 {

namespace {

// Long enough for the longest hint line at any DPI; lines break only at "\n".
constexpr int kMaxTipWidth = 2000;

}  // namespace

HintSwitch::~HintSwitch() {
    if (tooltip_ != nullptr) {
        ::DestroyWindow(tooltip_);
    }
}

void HintSwitch::Create(HWND window) {
    owner_ = window;
    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    // Multi-line hints: "\n" breaks a line only with a maximum width set.
    ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    ::SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
}

void HintSwitch::Add(HWND control, const std::wstring& hint) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(hint.c_str());
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HintSwitch::AddRect(HWND window, UINT id, const RECT& rect, const std::wstring& hint) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = id;
    tool.rect = rect;
    tool.lpszText = const_cast<wchar_t*>(hint.c_str());
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HintSwitch::MoveRect(HWND window, UINT id, const RECT& rect) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = id;
    tool.rect = rect;
    ::SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HintSwitch::SetOn(bool on) {
    on_ = on;
    ::SendMessageW(tooltip_, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

}  // namespace trevo::win32

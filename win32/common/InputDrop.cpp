#include "win32/common/InputDrop.h"

namespace trevo::win32 {

namespace {

// A close asked by the title bar's close box or Alt+F4 is no input to drop: it is posted to
// the window as WM_CLOSE, which the window hands to its flow (deferred while it works).
void KeepCloseRequest(const MSG& message) {
    const bool closeBox = message.message == WM_NCLBUTTONDOWN && message.wParam == HTCLOSE;
    const bool altF4 = message.message == WM_SYSKEYDOWN && message.wParam == VK_F4;
    if (closeBox || altF4) {
        ::PostMessageW(::GetAncestor(message.hwnd, GA_ROOT), WM_CLOSE, 0, 0);
    }
}

void DropInput() {
    MSG message;
    const UINT ranges[][2] = {{WM_KEYFIRST, WM_KEYLAST},
                              {WM_MOUSEFIRST, WM_MOUSELAST},
                              {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
    for (const auto& range : ranges) {
        while (::PeekMessageW(&message, nullptr, range[0], range[1], PM_REMOVE) != 0) {
            KeepCloseRequest(message);
        }
    }
}

}  // namespace

InputDrop::InputDrop() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}

InputDrop::~InputDrop() {
    Pump();
    ::SetCursor(previous_);
}

void InputDrop::Pump() {
    DropInput();
    MSG message;
    // Paint messages and those sent from other threads (PM_QS_SENDMESSAGE) only; a posted
    // command or a timer waits for the message loop.
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE) !=
           0) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace trevo::win32

#include "win32/common/InputDrop.h"

namespace trevo::win32 {

namespace {

void DropInput() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) != 0) {
    }
    while (::PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) != 0) {
    }
    while (::PeekMessageW(&message, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE) != 0) {
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

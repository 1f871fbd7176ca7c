#include "win32/mainwindow/MainToolbar.h"

#include <vector>

#include "desktop/MainWindowForm.h"
#include "win32/common/HintSwitch.h"
#include "win32/common/WideText.h"
#include "win32/mainwindow/ControlIds.h"
#include "win32/mainwindow/ResourceIds.h"

namespace trevo::win32 {

namespace form = desktop::form;

namespace {

constexpr int kIconIds[] = {TREVO_IDI_START, TREVO_IDI_OPEN_FOLDER, TREVO_IDI_QUESTION,
                            TREVO_IDI_CLEAR, TREVO_IDI_CLOSE,       TREVO_IDI_BACK};

}  // namespace

void MainToolbar::Create(HWND parent) {
    toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST |
                                     CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdToolBar1)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Captions are kept (screen readers read them) but not drawn: images only.
    ::SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
}

void MainToolbar::Place(const DpiScale& scale, HintSwitch& hints) {
    const int iconSize = scale.Px(form::kToolIconSize);
    images_.reset(::ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK,
                                     static_cast<int>(std::size(kIconIds)), 0));
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const int id : kIconIds) {
        const auto icon = static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, iconSize, iconSize, 0));
        ::ImageList_AddIcon(images_.get(), icon);
        ::DestroyIcon(icon);
    }
    ::SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));

    // The buttons anew: separators' widths change with the scale.
    while (::SendMessageW(toolbar_, TB_DELETEBUTTON, 0, 0) != 0) {
    }
    captions_.clear();
    for (const form::Action& action : form::kActions) {
        captions_.push_back(WideFromUtf8(action.caption));
    }
    std::vector<TBBUTTON> buttons;
    for (const form::ToolbarItem& item : form::kToolbar) {
        TBBUTTON button{};
        if (item.separator) {
            button.iBitmap = scale.X(form::kSeparatorWidth);
            button.fsStyle = BTNS_SEP;
        } else {
            const form::Action& action = form::ActionOf(item.action);
            button.iBitmap = static_cast<int>(action.icon);
            button.idCommand = CommandOf(action.id);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = static_cast<BYTE>(action.checkable ? BTNS_CHECK : BTNS_BUTTON);
            button.iString =
                reinterpret_cast<INT_PTR>(captions_[static_cast<std::size_t>(action.id)].c_str());
        }
        buttons.push_back(button);
    }
    ::SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(iconSize, iconSize));
    ::SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                   reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0,
                   MAKELPARAM(scale.X(form::kToolButtonWidth), scale.Y(form::kToolButtonHeight)));
    const RECT place = scale.Rect(form::kToolBar1.design.left, form::kToolBar1.design.top,
                                  form::kToolBar1.design.width, form::kToolBar1.design.height);
    ::MoveWindow(toolbar_, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, TRUE);

    // Each button's hint, with its key, over the button's rectangle.
    for (const form::Action& action : form::kActions) {
        RECT rect{};
        const auto command = static_cast<UINT>(CommandOf(action.id));
        ::SendMessageW(toolbar_, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect));
        if (hintsAdded_) {
            hints.MoveRect(toolbar_, command, rect);
        } else {
            hints.AddRect(toolbar_, command, rect, WideFromUtf8(form::ActionTooltip(action)));
        }
    }
    hintsAdded_ = true;
}

void MainToolbar::SetHelpPressed(bool pressed) {
    ::SendMessageW(toolbar_, TB_CHECKBUTTON, CommandOf(form::ActionId::Help),
                   pressed ? TRUE : FALSE);
}

AcceleratorHandle MakeAccelerators() {
    std::vector<ACCEL> keys;
    for (const form::Action& action : form::kActions) {
        ACCEL key{};
        key.fVirt = FVIRTKEY;
        if (action.key.ctrl) {
            key.fVirt |= FCONTROL;
        }
        if (action.key.shift) {
            key.fVirt |= FSHIFT;
        }
        key.key = action.key.function != 0 ? static_cast<WORD>(VK_F1 + action.key.function - 1)
                                           : static_cast<WORD>(action.key.letter);
        key.cmd = static_cast<WORD>(CommandOf(action.id));
        keys.push_back(key);
    }
    return AcceleratorHandle(::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
}

}  // namespace trevo::win32

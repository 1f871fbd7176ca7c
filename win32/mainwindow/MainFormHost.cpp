#include "win32/mainwindow/MainFormHost.h"

#include <array>

#include "win32/common/BrowseBox.h"
#include "win32/common/MessageBoxes.h"
#include "win32/common/WideText.h"
#include "win32/common/WindowPlacement.h"
#include "win32/mainwindow/ControlIds.h"

namespace trevo::win32 {

namespace {

struct Property {
    std::string_view entry;
    int id;
    desktop::StoredKind kind;
};

constexpr std::array<Property, 6> kProperties = {{
    {"FE_EPP.Text", kIdFeEpp, desktop::StoredKind::Text},
    {"Edit_Atrybut.Text", kIdEditAtrybut, desktop::StoredKind::Text},
    {"Edit_REJ.Text", kIdEditRej, desktop::StoredKind::Text},
    {"de_KPR.Text", kIdDeKpr, desktop::StoredKind::Text},
    {"RB_852.Checked", kIdRb852, desktop::StoredKind::Boolean},
    {"RB_MAZ.Checked", kIdRbMaz, desktop::StoredKind::Boolean},
}};

const Property* Find(std::string_view entry) {
    for (const Property& property : kProperties) {
        if (property.entry == entry) {
            return &property;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<desktop::StoredKind> MainFormHost::PropertyKind(std::string_view entry) {
    const Property* property = Find(entry);
    if (property == nullptr) {
        return std::nullopt;
    }
    return property->kind;
}

std::optional<std::string> MainFormHost::PropertyText(std::string_view entry) {
    const Property* property = Find(entry);
    const HWND control = property == nullptr ? nullptr : ::GetDlgItem(window_, property->id);
    if (control == nullptr) {
        return std::nullopt;
    }
    return Utf8FromWide(WindowText(control));
}

std::optional<bool> MainFormHost::PropertyChecked(std::string_view entry) {
    const Property* property = Find(entry);
    const HWND control = property == nullptr ? nullptr : ::GetDlgItem(window_, property->id);
    if (control == nullptr) {
        return std::nullopt;
    }
    return ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainFormHost::SetPropertyText(std::string_view entry, std::string_view utf8) {
    if (const Property* property = Find(entry)) {
        ::SetDlgItemTextW(window_, property->id, WideFromUtf8(utf8).c_str());
    }
}

void MainFormHost::SetPropertyChecked(std::string_view entry, bool checked) {
    const Property* property = Find(entry);
    if (property == nullptr) {
        return;
    }
    if (checked) {
        // As a click does: the other button of the pair is cleared.
        ::CheckRadioButton(window_, kIdRbMaz, kIdRb852, property->id);
    } else {
        ::CheckDlgButton(window_, property->id, BST_UNCHECKED);
    }
}

desktop::PlacementRecord MainFormHost::GetPlacement() {
    return win32::GetPlacement(window_);
}

void MainFormHost::SetPlacement(const desktop::PlacementRecord& record) {
    win32::SetPlacement(window_, record);
}

void MainFormHost::SetShowState(settings::ShowState state) {
    if (const int pending = ShowInState(window_, state); pending != 0) {
        // The first ShowWindow, by the program's entry, takes it.
        pendingShow_ = pending;
    }
}

bool MainFormHost::IsWindowVisible() {
    return ::IsWindowVisible(window_) != FALSE;
}

bool MainFormHost::IsApplicationMinimized() {
    return ::IsIconic(window_) != FALSE;
}

void MainFormHost::MinimizeApplication() {
    ::PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

desktop::ScreenFacts MainFormHost::Screens() {
    return ScreenFactsFor(window_);
}

void MainFormHost::ShowErrorBox(std::string_view utf8) {
    const HWND owner = ::IsWindow(window_) ? window_ : nullptr;
    win32::ShowErrorBox(owner, WideFromUtf8(utf8));
}

}  // namespace trevo::win32

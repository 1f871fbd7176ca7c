#include "win32/picker/PickerFormHost.h"

#include "win32/common/BrowseBox.h"
#include "win32/common/MessageBoxes.h"
#include "win32/common/WideText.h"
#include "win32/common/WindowPlacement.h"

namespace trevo::win32 {

namespace {

bool IsFileName(std::string_view entry) {
    return entry == "FilenameEdit.FileName";
}

}  // namespace

std::optional<desktop::StoredKind> PickerFormHost::PropertyKind(std::string_view entry) {
    if (!IsFileName(entry)) {
        return std::nullopt;
    }
    return desktop::StoredKind::Text;
}

std::optional<std::string> PickerFormHost::PropertyText(std::string_view entry) {
    if (!IsFileName(entry) || !::IsWindow(fileBox_)) {
        return std::nullopt;
    }
    return Utf8FromWide(WindowText(fileBox_));
}

std::optional<bool> PickerFormHost::PropertyChecked(std::string_view) {
    return std::nullopt;
}

void PickerFormHost::SetPropertyText(std::string_view entry, std::string_view utf8) {
    if (IsFileName(entry)) {
        ::SetWindowTextW(fileBox_, WideFromUtf8(utf8).c_str());
    }
}

void PickerFormHost::SetPropertyChecked(std::string_view, bool) {}

desktop::PlacementRecord PickerFormHost::GetPlacement() {
    return win32::GetPlacement(dialog_);
}

void PickerFormHost::SetPlacement(const desktop::PlacementRecord& placement) {
    win32::SetPlacement(dialog_, placement);
}

void PickerFormHost::SetShowState(settings::ShowState state) {
    if (const int pending = ShowInState(dialog_, state); pending != 0) {
        // The dialog's first ShowWindow takes it.
        pendingShow_ = pending;
    }
}

bool PickerFormHost::IsWindowVisible() {
    return ::IsWindowVisible(dialog_) != FALSE;
}

desktop::ScreenFacts PickerFormHost::Screens() {
    return ScreenFactsFor(dialog_);
}

void PickerFormHost::ShowErrorBox(std::string_view utf8) {
    win32::ShowErrorBox(::IsWindow(dialog_) ? dialog_ : nullptr, WideFromUtf8(utf8));
}

}  // namespace trevo::win32

#pragma once
// What the picker's settings binding (desktop/FormSettings.h, section "SPISFIRM") asks of the
// dialog: its one stored property, the file box's text ("FilenameEdit.FileName"), and the
// dialog's placement. Rules are the binding's; this only reads and sets.

#include <windows.h>

#include "desktop/FormSettings.h"

namespace trevo::win32 {

class PickerFormHost final : public desktop::FormHost {
  public:
    PickerFormHost(HWND dialog, HWND fileBox) : dialog_(dialog), fileBox_(fileBox) {}

    std::optional<desktop::StoredKind> PropertyKind(std::string_view entry) override;
    std::optional<std::string> PropertyText(std::string_view entry) override;
    std::optional<bool> PropertyChecked(std::string_view entry) override;
    void SetPropertyText(std::string_view entry, std::string_view utf8) override;
    void SetPropertyChecked(std::string_view entry, bool checked) override;

    desktop::PlacementRecord GetPlacement() override;
    void SetPlacement(const desktop::PlacementRecord& placement) override;
    void SetShowState(settings::ShowState state) override;
    bool IsWindowVisible() override;
    bool IsResizable() override { return true; }
    // A dialog: its minimized state is its own.
    bool IsApplicationMainWindow() override { return false; }
    bool IsApplicationMinimized() override { return false; }
    void MinimizeApplication() override {}
    desktop::ScreenFacts Screens() override;
    void ShowErrorBox(std::string_view utf8) override;

    // The show command the restore chose while the dialog was not yet visible; 0 for none.
    int PendingShow() const { return pendingShow_; }

  private:
    HWND dialog_;
    HWND fileBox_;
    int pendingShow_ = 0;
};

}  // namespace trevo::win32

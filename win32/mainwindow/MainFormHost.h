#pragma once
// What the main window's settings binding (desktop/FormSettings.h) asks of the Win32 window:
// the stored properties by control name, the placement as GetWindowPlacement has it, the
// screens, the message box. Rules are the binding's; this only reads and sets.

#include <windows.h>

#include "desktop/FormSettings.h"

namespace trevo::win32 {

class MainFormHost final : public desktop::FormHost {
  public:
    explicit MainFormHost(HWND window) : window_(window) {}

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
    bool IsApplicationMainWindow() override { return true; }
    bool IsApplicationMinimized() override;
    void MinimizeApplication() override;
    desktop::ScreenFacts Screens() override;
    void ShowErrorBox(std::string_view utf8) override;

    // The show command the restore chose while the window was not yet visible; 0 for none.
    int PendingShow() const { return pendingShow_; }

  private:
    HWND window_;
    int pendingShow_ = 0;
};

}  // namespace trevo::win32

#pragma once
// A Qt window as the settings binding sees it (desktop::FormHost): its stored properties by
// their widgets' properties, its placement over the toolkit's geometry and states, the screens,
// and the error box.

#include <map>
#include <string>

#include "desktop/FormSettings.h"
#include "gui/settings/StoredProperty.h"

class QWidget;

namespace trevo::gui {

class WidgetFormHost final : public desktop::FormHost {
  public:
    explicit WidgetFormHost(QWidget* window) : window_(window) {}

    // The window's controls are going: boxes come without a parent from now on.
    void WindowGone() { gone_ = true; }

    std::optional<desktop::StoredKind> PropertyKind(std::string_view entry) override;
    std::optional<std::string> PropertyText(std::string_view entry) override;
    std::optional<bool> PropertyChecked(std::string_view entry) override;
    void SetPropertyText(std::string_view entry, std::string_view utf8) override;
    void SetPropertyChecked(std::string_view entry, bool checked) override;

    desktop::PlacementRecord GetPlacement() override;
    void SetPlacement(const desktop::PlacementRecord& placement) override;
    void SetShowState(settings::ShowState state) override;
    bool IsWindowVisible() override;
    bool IsResizable() override;
    bool IsApplicationMainWindow() override;
    bool IsApplicationMinimized() override;
    void MinimizeApplication() override;
    desktop::ScreenFacts Screens() override;

    void ShowErrorBox(std::string_view utf8) override;

  private:
    const StoredProperty* Find(std::string_view entry) const;

    QWidget* window_;
    std::map<std::string, StoredProperty, std::less<>> props_;
    bool gone_ = false;
};

}  // namespace trevo::gui

#include "gui/settings/WidgetFormHost.h"

#include <QWidget>
#include <QWindow>

#include "gui/settings/WindowPlacement.h"
#include "qtplatform/MessageBoxes.h"

namespace trevo::gui {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

const StoredProperty* WidgetFormHost::Find(std::string_view entry) const {
    const auto found = props_.find(entry);
    return found == props_.end() ? nullptr : &found->second;
}

std::optional<desktop::StoredKind> WidgetFormHost::PropertyKind(std::string_view entry) {
    if (gone_) {
        return std::nullopt;
    }
    auto property = StoredProperty::Bind(window_, FromUtf8(entry));
    if (!property) {
        return std::nullopt;
    }
    const bool boolean = property->IsBoolean();
    props_.insert_or_assign(std::string(entry), std::move(*property));
    return boolean ? desktop::StoredKind::Boolean : desktop::StoredKind::Text;
}

std::optional<std::string> WidgetFormHost::PropertyText(std::string_view entry) {
    const StoredProperty* property = Find(entry);
    if (property == nullptr) {
        return std::nullopt;
    }
    const auto text = property->Text();
    return text ? std::optional(text->toStdString()) : std::nullopt;
}

std::optional<bool> WidgetFormHost::PropertyChecked(std::string_view entry) {
    const StoredProperty* property = Find(entry);
    return property != nullptr ? property->Checked() : std::nullopt;
}

void WidgetFormHost::SetPropertyText(std::string_view entry, std::string_view utf8) {
    if (const StoredProperty* property = Find(entry)) {
        property->SetText(FromUtf8(utf8));
    }
}

void WidgetFormHost::SetPropertyChecked(std::string_view entry, bool checked) {
    if (const StoredProperty* property = Find(entry)) {
        property->SetChecked(checked);
    }
}

desktop::PlacementRecord WidgetFormHost::GetPlacement() {
    return GetWindowPlacement(window_);
}

void WidgetFormHost::SetPlacement(const desktop::PlacementRecord& placement) {
    SetWindowPlacement(window_, placement);
}

void WidgetFormHost::SetShowState(settings::ShowState state) {
    gui::SetShowState(window_, state);
}

bool WidgetFormHost::IsWindowVisible() {
    // The widget counts as visible from its show event on; the window system's window appears
    // only after it.
    const QWindow* handle = window_->windowHandle();
    return handle != nullptr && handle->isVisible();
}

bool WidgetFormHost::IsResizable() {
    return gui::IsResizable(window_);
}

bool WidgetFormHost::IsApplicationMainWindow() {
    return gui::IsApplicationMainWindow(window_);
}

bool WidgetFormHost::IsApplicationMinimized() {
    // The application counts as minimized exactly when its main window is.
    return window_->isMinimized();
}

void WidgetFormHost::MinimizeApplication() {
    gui::MinimizeApplication();
}

desktop::ScreenFacts WidgetFormHost::Screens() {
    return ScreenFactsFor(window_);
}

void WidgetFormHost::ShowErrorBox(std::string_view utf8) {
    gui::ShowErrorBox(gone_ ? nullptr : window_, FromUtf8(utf8));
}

}  // namespace trevo::gui

#include "gui/settings/FormStorage.h"

#include <QEvent>
#include <QFile>
#include <QWidget>

#include "desktop/FormSettings.h"
#include "gui/settings/WidgetFormHost.h"

namespace trevo::gui {

namespace {

desktop::FormSettingsConfig DesktopConfig(const FormStorageConfig& config, const QString& iniPath) {
    desktop::FormSettingsConfig plain;
    plain.section = config.section.toStdString();
    for (const QString& entry : config.storedProps) {
        plain.storedProps.push_back(entry.toStdString());
    }
    plain.minTrack = {config.minTrackWidth, config.minTrackHeight};
    plain.settingsPath = QFile::encodeName(iniPath).toStdString();
    return plain;
}

}  // namespace

FormStorageConfig StorageConfigOf(const desktop::FormSettingsConfig& plain, int minTrackWidth,
                                  int minTrackHeight) {
    FormStorageConfig config{
        QString::fromStdString(plain.section), {}, minTrackWidth, minTrackHeight};
    for (const std::string& entry : plain.storedProps) {
        config.storedProps << QString::fromStdString(entry);
    }
    return config;
}

FormStorage::FormStorage(QWidget* window, FormStorageConfig config, QString iniPath)
    : QObject(window),
      window_(window),
      host_(std::make_unique<WidgetFormHost>(window)),
      settings_(std::make_unique<desktop::FormSettings>(*host_, DesktopConfig(config, iniPath))) {
    const desktop::MinTrackSize minimum = settings_->Created();
    for (const std::string& entry : settings_->DroppedProps()) {
        qWarning("FormStorage [%s]: no control with a text or boolean property for %s",
                 qUtf8Printable(config.section), entry.c_str());
    }
    if (minimum.width > 0 || minimum.height > 0) {
        window_->setMinimumSize(minimum.width, minimum.height);
    }
    window_->installEventFilter(this);
}

FormStorage::~FormStorage() {
    if (!windowGone_) {
        // The window is being taken apart: its controls may be gone and it cannot carry a box.
        windowGone_ = true;
        host_->WindowGone();
        settings_->WindowGone();
    }
}

bool FormStorage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && !windowGone_) {
        // The show event comes before the window appears and before it is activated, so the
        // window's own activation handling already sees the restored values.
        if (event->type() == QEvent::Show) {
            settings_->Shown();
        } else if (event->type() == QEvent::Hide && !event->spontaneous()) {
            // Hidden by the program, not minimized by the user: the window has closed.
            settings_->Hidden();
        }
    }
    return QObject::eventFilter(watched, event);
}

void FormStorage::RestoreSettings() {
    settings_->RestoreSettings();
}

void FormStorage::SaveSettings() {
    settings_->SaveSettings();
}

void FormStorage::WindowDestroying() {
    if (windowGone_) {
        return;
    }
    windowGone_ = true;
    window_->removeEventFilter(this);
    settings_->Destroying();
}

bool FormStorage::WriteSettings() {
    return settings_->WriteSettings();
}

}  // namespace trevo::gui

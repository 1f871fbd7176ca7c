#pragma once
// The settings binding of one Qt window: desktop::FormSettings over the window's widgets,
// forwarded the window's lifecycle. The binding's rules - its section, the stored properties,
// the placement keys, what a restore applies - are the desktop layer's.
//
// Lifecycle: created in the window's constructor once its controls exist, it reads the file
// and sets the window's minimum size. The window's first show restores the section; hiding the
// window by the program (an accepted close, a dialog's accept or reject) saves into the
// binding's copy; the window's destructor calls WindowDestroying, which writes the file.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "gui/settings/SettingsLocation.h"

class QWidget;

namespace trevo::desktop {
class FormSettings;
struct FormSettingsConfig;
}  // namespace trevo::desktop

namespace trevo::gui {

class WidgetFormHost;

struct FormStorageConfig {
    QString section;          // "MAIN" or "SPISFIRM"
    QStringList storedProps;  // "FE_EPP.Text", "RB_852.Checked", "FilenameEdit.FileName", ...
    int minTrackWidth = 0;
    int minTrackHeight = 0;
};

// A window's binding as the desktop layer gives it, with its minimum size scaled by the window.
FormStorageConfig StorageConfigOf(const desktop::FormSettingsConfig& plain, int minTrackWidth,
                                  int minTrackHeight);

class FormStorage : public QObject {
    Q_OBJECT

  public:
    // Becomes a child of `window`; reads the settings file now; sets the window's minimum size;
    // watches the window: first show -> RestoreSettings; hidden by the program (an accepted
    // close, a dialog's accept or reject) -> SaveSettings. Create it once the controls exist.
    FormStorage(QWidget* window, FormStorageConfig config, QString iniPath = DefaultSettingsPath());
    // Writes the file when the window never called WindowDestroying.
    ~FormStorage() override;

    void RestoreSettings();
    void SaveSettings();
    // Called by the window's own destructor while its controls still exist: SaveSettings if
    // not saved since the last restore, then WriteSettings. Later calls do nothing.
    void WindowDestroying();
    // Replaces this window's section in the file on disk, leaving the other sections as they
    // stand there. A read-only file is left alone. False when the file could not be written;
    // the user has been told.
    bool WriteSettings();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    std::unique_ptr<WidgetFormHost> host_;
    std::unique_ptr<desktop::FormSettings> settings_;
    bool windowGone_ = false;
};

}  // namespace trevo::gui

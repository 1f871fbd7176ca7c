#pragma once
// The settings binding of one window, whatever draws it: its own section of "trevo2KPR.INI",
// the control properties it persists, the window's placement and its minimum size. A front end
// implements FormHost (controls, placement, screens, message box) and forwards the window's
// lifecycle:
//
//   Created()     once the controls exist: reads the file, answers the minimum track size
//                 (Qt: setMinimumSize; Win32: WM_GETMINMAXINFO's ptMinTrackSize)
//   Shown()       every time the window is about to appear; the first call restores
//                 (Qt: the Show event; Win32: before the first ShowWindow)
//   Hidden()      the program hid the window: an accepted close, a dialog's end; saves
//   Destroying()  while the controls still exist: saves unless saved since the restore, then
//                 writes the file (Qt: the window's destructor; Win32: WM_DESTROY)
//
// Texts cross FormHost in UTF-8; the file holds them in Windows-1250, and a character outside
// it is stored as '?'. The settings path is a system path (UTF-8 on every platform, as
// engine/files' SystemPath).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settingsfile/PlacementFit.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsValues.h"

namespace trevo {
class WholeFileStore;
}

namespace trevo::desktop {

// What a stored property holds: a text ("Text", "FileName") or a boolean ("Checked").
enum class StoredKind : std::uint8_t { Text, Boolean };

struct PlacementPoint {
    int x = -1;
    int y = -1;
};

// A window's placement as Win32's WINDOWPLACEMENT holds it; the Win32 front end maps it 1:1 to
// GetWindowPlacement/SetWindowPlacement, the Qt one maps it to the window's geometry and states.
struct PlacementRecord {
    // WPF_RESTORETOMAXIMIZED: the window returns to maximized when restored from minimized.
    static constexpr int kRestoreToMaximized = 2;

    int flags = 0;
    // settings::kShowNormal, kShowMinimized or kShowMaximized (any SW_ value); 0 in a record
    // handed to SetPlacement leaves the window's show state as it is and never shows it.
    int showCmd = settings::kShowNormal;
    PlacementPoint minPosition;
    PlacementPoint maxPosition;
    // The normal (restored) rectangle: right = left + width, bottom = top + height.
    settings::ScreenRect normal;
};

// The screens as the placement rules need them.
struct ScreenFacts {
    // The primary screen's size in pixels (GetSystemMetrics SM_CXSCREEN, SM_CYSCREEN), which
    // the screen-size suffix of the position keys names.
    int primaryWidth = 0;
    int primaryHeight = 0;
    // The primary screen's pixels per inch (96 at 100 %).
    int pixelsPerInch = 96;
    // Each screen's area free for windows, the primary first, in the coordinates of
    // PlacementRecord::normal. None: nothing is fitted, the saved rectangle is applied as is.
    std::vector<settings::ScreenRect> freeAreas;
    // What the window system draws around PlacementRecord::normal (title bar, borders); zero
    // when `normal` is the outer rectangle already, as Win32's rcNormalPosition is.
    settings::FrameMargins frame;
};

struct MinTrackSize {
    int width = 0;
    int height = 0;
};

// What the binding asks of the window. Entries are "Control.Prop" as configured
// ("FE_EPP.Text", "RB_852.Checked", "FilenameEdit.FileName").
class FormHost {
  public:
    virtual ~FormHost() = default;

    // The kind of the property `entry` names; nothing when the window has no such control or
    // property (the entry is then dropped at Created).
    virtual std::optional<StoredKind> PropertyKind(std::string_view entry) = 0;
    // The property's value (UTF-8 for a text); nothing when the control is gone.
    virtual std::optional<std::string> PropertyText(std::string_view entry) = 0;
    virtual std::optional<bool> PropertyChecked(std::string_view entry) = 0;
    virtual void SetPropertyText(std::string_view entry, std::string_view utf8) = 0;
    // As the control does it: checking a radio button unchecks the others of its group;
    // unchecking touches only this one.
    virtual void SetPropertyChecked(std::string_view entry, bool checked) = 0;

    virtual PlacementRecord GetPlacement() = 0;
    // `placement.normal` has already been fitted to the screens; showCmd 0 leaves the state.
    virtual void SetPlacement(const PlacementRecord& placement) = 0;
    virtual void SetShowState(settings::ShowState state) = 0;
    // Whether the window is on the screen already (IsWindowVisible); false while it is about
    // to appear for the first time.
    virtual bool IsWindowVisible() = 0;
    // The user can resize the window; a window that cannot keeps its size at a restored place.
    virtual bool IsResizable() = 0;
    // The application's main window (not a dialog): its minimized state is the application's.
    virtual bool IsApplicationMainWindow() = 0;
    virtual bool IsApplicationMinimized() = 0;
    // Once the window being shown has appeared (PostMessage of SC_MINIMIZE, or queued).
    virtual void MinimizeApplication() = 0;
    virtual ScreenFacts Screens() = 0;

    // The standard error box (one OK button), UTF-8. Also called after Destroying began, when
    // the box can no longer have the window as its parent.
    virtual void ShowErrorBox(std::string_view utf8) = 0;
};

struct FormSettingsConfig {
    std::string section;                   // "MAIN" or "SPISFIRM"
    std::vector<std::string> storedProps;  // in the order they are saved and restored
    MinTrackSize minTrack;                 // the front end's pixels (its design size, scaled)
    std::string settingsPath;              // UTF-8 system path, see desktop/SettingsPlace.h
};

// The two windows' bindings at their design sizes (472 x 466 and 360 x 310 pixels); a front
// end scales minTrack to its font or DPI.
FormSettingsConfig MainWindowSettingsConfig(std::string settingsPath);
FormSettingsConfig PickerSettingsConfig(std::string settingsPath);

class FormSettings {
  public:
    // `files` for tests with faults; the machine's own file system when null.
    FormSettings(FormHost& host, FormSettingsConfig config, WholeFileStore* files = nullptr);

    // Reads the settings file into the binding's copy (a missing or unreadable file gives an
    // empty copy) and binds the stored properties the window has; gives the minimum size.
    MinTrackSize Created();
    void Shown();
    void Hidden();
    void Destroying();
    // The window's controls went without Destroying: writes the copy as it stands and asks
    // nothing more of the host than a message box.
    void WindowGone();

    // The steps themselves, by the rules of the settings file:
    // restores placement, show state and properties; a placement value that is no integer
    // stops it with the error box "'%s' is not a valid integer value".
    void RestoreSettings();
    // Into the copy: version, show command, flags, pixels per inch, the positions under the
    // screen-size suffix and without it, then every stored property.
    void SaveSettings();
    // Replaces the window's section in the file on disk, leaving the other sections as they
    // stand there; a read-only file is left alone. False when the file could not be written;
    // the user has been told with the error box, naming the file and why.
    bool WriteSettings();

    MinTrackSize MinTrack() const { return config_.minTrack; }
    const std::string& SettingsPath() const { return config_.settingsPath; }
    // Entries dropped at Created because the window has no such property, for a warning.
    const std::vector<std::string>& DroppedProps() const { return dropped_; }
    bool Saved() const { return saved_; }

  private:
    struct Bound {
        std::string entry;
        std::string key;
        StoredKind kind;
    };

    std::optional<int> ReadInteger(std::string_view key, int fallback);
    std::string ReadPosition(std::string_view key, const std::string& suffix) const;

    FormHost& host_;
    FormSettingsConfig config_;
    WholeFileStore* files_;
    settings::SettingsFile copy_;
    std::vector<Bound> props_;
    std::vector<std::string> dropped_;
    bool saved_ = false;
    bool shown_ = false;
    bool gone_ = false;
};

}  // namespace trevo::desktop

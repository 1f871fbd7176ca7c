#pragma once
// A window's placement record (desktop/FormSettings.h) over the toolkit's window geometry and
// states, and the screens as the placement rules need them. The rules themselves - which keys,
// when a placement applies, how it fits the screens - are the desktop layer's.

#include "desktop/FormSettings.h"
#include "settingsfile/SettingsValues.h"

class QWidget;

namespace trevo::gui {

// The show command, the restore-to-maximized flag and the normal rectangle; the toolkit has no
// minimized and maximized positions (they stay -1).
desktop::PlacementRecord GetWindowPlacement(const QWidget* window);

// Moves the window to the normal rectangle (already fitted to the screens) and, unless showCmd
// is 0, gives it that state.
void SetWindowPlacement(QWidget* window, const desktop::PlacementRecord& placement);

void SetShowState(QWidget* window, settings::ShowState state);

// Whether the user can resize the window (its minimum and maximum sizes differ).
bool IsResizable(const QWidget* window);

// The primary screen's size and pixels per inch (96 without a screen), every screen's area
// free for windows (the primary first), and the frame the window system draws around the
// window's rectangle.
desktop::ScreenFacts ScreenFactsFor(const QWidget* window);

// The application's main window: a top-level window that is no dialog and has no parent.
bool IsApplicationMainWindow(const QWidget* window);

// Minimizes every visible top-level window once the events now pending have been handled, so
// that a window being shown appears first.
void MinimizeApplication();

}  // namespace trevo::gui

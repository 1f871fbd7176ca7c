#pragma once
// A window's placement as the settings file keeps it, over the toolkit's window geometry and
// states: flags, show command, minimized and maximized positions and the normal rectangle.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

#include "settingsfile/SettingsValues.h"

class QWidget;

namespace trevo::gui {

struct WindowPlacement {
    // The window returns to maximized when restored from minimized.
    static constexpr int kRestoreToMaximized = 2;

    int flags = 0;
    // settings::kShowNormal, kShowMinimized or kShowMaximized; 0 leaves the state as it is.
    int showCommand = settings::kShowNormal;
    // The toolkit has no such positions: they are kept for the file only.
    QPoint minPosition{-1, -1};
    QPoint maxPosition{-1, -1};
    // The normal (restored) rectangle; right = left + width, bottom = top + height.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    QRect NormalRect() const { return QRect(left, top, right - left, bottom - top); }
};

WindowPlacement GetWindowPlacement(const QWidget* window);

// Moves the window to the normal rectangle, fitted to the screens there are now, and, unless
// showCommand is 0, gives it that state. Without any screen the window keeps its position; the
// result says whether the rectangle was applied. The placement itself is not changed, so what
// the settings file holds stays as saved until the window saves its own placement.
bool SetWindowPlacement(QWidget* window, const WindowPlacement& placement);

// The rectangle moved and, when too large, shrunk so that the window shows whole on one of the
// screens (their areas free for windows): see settings::FitOnScreens. Nothing without screens.
std::optional<QRect> FitOnAvailableScreens(const QWidget* window, const QRect& rect);

void SetShowState(QWidget* window, settings::ShowState state);

// Whether the user can resize the window (its minimum and maximum sizes differ).
bool IsResizable(const QWidget* window);

// The primary screen's pixels per inch; 96 when there is no screen.
int ScreenPixelsPerInch();

// The primary screen's size in pixels, which the screen-size suffix names.
QSize PrimaryScreenSize();

// The application's main window: a top-level window that is no dialog and has no parent.
bool IsApplicationMainWindow(const QWidget* window);

// Minimizes every visible top-level window once the events now pending have been handled, so
// that a window being shown appears first.
void MinimizeApplication();

}  // namespace trevo::gui

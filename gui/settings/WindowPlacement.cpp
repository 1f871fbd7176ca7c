#include "gui/settings/WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace trevo::gui {

namespace {

constexpr Qt::WindowStates kShowStates =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// How much of a window must be on a screen for the user to reach it.
constexpr int kReachableWidth = 64;
constexpr int kReachableHeight = 32;

settings::ShowState StateOf(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) {
        return settings::ShowState::Minimized;
    }
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return settings::ShowState::Maximized;
    }
    return settings::ShowState::Normal;
}

}  // namespace

WindowPlacement GetWindowPlacement(const QWidget* window) {
    WindowPlacement placement;
    const Qt::WindowStates states = window->windowState();
    switch (StateOf(states)) {
        case settings::ShowState::Minimized:
            placement.showCommand = settings::kShowMinimized;
            break;
        case settings::ShowState::Maximized:
            placement.showCommand = settings::kShowMaximized;
            break;
        case settings::ShowState::Normal:
            placement.showCommand = settings::kShowNormal;
            break;
    }
    if ((states & Qt::WindowMinimized) && (states & Qt::WindowMaximized)) {
        placement.flags |= WindowPlacement::kRestoreToMaximized;
    }
    QRect normal = window->normalGeometry();
    if (normal.isEmpty()) {
        // A window maximized before it was ever shown has no normal geometry yet.
        normal = window->geometry();
    }
    placement.left = normal.x();
    placement.top = normal.y();
    placement.right = normal.x() + normal.width();
    placement.bottom = normal.y() + normal.height();
    return placement;
}

bool SetWindowPlacement(QWidget* window, const WindowPlacement& placement) {
    const Qt::WindowStates current = window->windowState();
    Qt::WindowStates target = current;
    if (placement.showCommand != 0) {
        target &= ~kShowStates;
        const settings::ShowState state = settings::ShowStateOf(placement.showCommand);
        if (state == settings::ShowState::Minimized) {
            target |= Qt::WindowMinimized;
            if (placement.flags & WindowPlacement::kRestoreToMaximized) {
                target |= Qt::WindowMaximized;
            }
        } else if (state == settings::ShowState::Maximized) {
            target |= Qt::WindowMaximized;
        }
    }
    const QRect rect = placement.NormalRect();
    const bool applied = LiesOnSomeScreen(rect);
    if (applied) {
        // The normal rectangle can only be set while the window is in its normal state.
        if (current & kShowStates) {
            window->setWindowState(current & ~kShowStates);
        }
        window->setGeometry(rect);
    }
    if (window->windowState() != target) {
        window->setWindowState(target);
    }
    return applied;
}

bool LiesOnSomeScreen(const QRect& rect) {
    if (rect.isEmpty()) {
        return false;
    }
    const int needWidth = std::min(rect.width(), kReachableWidth);
    const int needHeight = std::min(rect.height(), kReachableHeight);
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        const QRect visible = screen->availableGeometry().intersected(rect);
        return visible.width() >= needWidth && visible.height() >= needHeight;
    });
}

void SetShowState(QWidget* window, settings::ShowState state) {
    Qt::WindowStates states = window->windowState() & ~kShowStates;
    if (state == settings::ShowState::Minimized) {
        states |= Qt::WindowMinimized;
    } else if (state == settings::ShowState::Maximized) {
        states |= Qt::WindowMaximized;
    }
    if (states != window->windowState()) {
        window->setWindowState(states);
    }
}

bool IsResizable(const QWidget* window) {
    return window->minimumSize() != window->maximumSize();
}

int ScreenPixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

QSize PrimaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(0, 0);
}

bool IsApplicationMainWindow(const QWidget* window) {
    return window->isWindow() && window->parentWidget() == nullptr &&
           qobject_cast<const QDialog*>(window) == nullptr;
}

void MinimizeApplication() {
    QMetaObject::invokeMethod(
        qApp,
        [] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->isVisible()) {
                    window->setWindowState(window->windowState() | Qt::WindowMinimized);
                }
            }
        },
        Qt::QueuedConnection);
}

}  // namespace trevo::gui

#include "gui/settings/WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "settingsfile/PlacementFit.h"

namespace trevo::gui {

namespace {

constexpr Qt::WindowStates kShowStates =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

settings::ShowState StateOf(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) {
        return settings::ShowState::Minimized;
    }
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return settings::ShowState::Maximized;
    }
    return settings::ShowState::Normal;
}

settings::FrameMargins MarginsBetween(const QRect& frame, const QRect& inner) {
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// The frame is known once the window system has framed the window. Before that (the first
// show) another framed window of the program tells what the frame will be; without one only
// the window's own rectangle is fitted, and the window system places the frame around it.
settings::FrameMargins FrameMarginsOf(const QWidget* window) {
    if (window->frameGeometry() != window->geometry()) {
        return MarginsBetween(window->frameGeometry(), window->geometry());
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && other->frameGeometry() != other->geometry()) {
            return MarginsBetween(other->frameGeometry(), other->geometry());
        }
    }
    return {};
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
    const std::optional<QRect> rect = FitOnAvailableScreens(window, placement.NormalRect());
    if (rect) {
        // The normal rectangle can only be set while the window is in its normal state.
        if (current & kShowStates) {
            window->setWindowState(current & ~kShowStates);
        }
        window->setGeometry(*rect);
    }
    if (window->windowState() != target) {
        window->setWindowState(target);
    }
    return rect.has_value();
}

std::optional<QRect> FitOnAvailableScreens(const QWidget* window, const QRect& rect) {
    const auto screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return std::nullopt;
    }
    const auto plain = [](const QRect& r) {
        return settings::ScreenRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    };
    std::vector<settings::ScreenRect> available;
    // The primary screen first: a window whose screen is gone comes there.
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        available.push_back(plain(primary->availableGeometry()));
    }
    for (const QScreen* screen : screens) {
        if (screen != QGuiApplication::primaryScreen()) {
            available.push_back(plain(screen->availableGeometry()));
        }
    }
    const settings::FrameMargins margins = FrameMarginsOf(window);
    const QSize minimum = window->minimumSize();
    const settings::ScreenRect fitted =
        settings::FitOnScreens(plain(rect), available, margins, minimum.width(), minimum.height());
    return QRect(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
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

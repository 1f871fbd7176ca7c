#include "gui/settings/WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

settings::ScreenRect Plain(const QRect& r) {
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

}  // namespace

desktop::PlacementRecord GetWindowPlacement(const QWidget* window) {
    desktop::PlacementRecord placement;
    const Qt::WindowStates states = window->windowState();
    switch (StateOf(states)) {
        case settings::ShowState::Minimized:
            placement.showCmd = settings::kShowMinimized;
            break;
        case settings::ShowState::Maximized:
            placement.showCmd = settings::kShowMaximized;
            break;
        case settings::ShowState::Normal:
            placement.showCmd = settings::kShowNormal;
            break;
    }
    if ((states & Qt::WindowMinimized) && (states & Qt::WindowMaximized)) {
        placement.flags |= desktop::PlacementRecord::kRestoreToMaximized;
    }
    QRect normal = window->normalGeometry();
    if (normal.isEmpty()) {
        // A window maximized before it was ever shown has no normal geometry yet.
        normal = window->geometry();
    }
    placement.normal = Plain(normal);
    return placement;
}

void SetWindowPlacement(QWidget* window, const desktop::PlacementRecord& placement) {
    const Qt::WindowStates current = window->windowState();
    Qt::WindowStates target = current;
    if (placement.showCmd != 0) {
        target &= ~kShowStates;
        const settings::ShowState state = settings::ShowStateOf(placement.showCmd);
        if (state == settings::ShowState::Minimized) {
            target |= Qt::WindowMinimized;
            if (placement.flags & desktop::PlacementRecord::kRestoreToMaximized) {
                target |= Qt::WindowMaximized;
            }
        } else if (state == settings::ShowState::Maximized) {
            target |= Qt::WindowMaximized;
        }
    }
    // The normal rectangle can only be set while the window is in its normal state.
    if (current & kShowStates) {
        window->setWindowState(current & ~kShowStates);
    }
    const settings::ScreenRect& r = placement.normal;
    window->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    if (window->windowState() != target) {
        window->setWindowState(target);
    }
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

desktop::ScreenFacts ScreenFactsFor(const QWidget* window) {
    desktop::ScreenFacts facts;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        facts.primaryWidth = primary->geometry().width();
        facts.primaryHeight = primary->geometry().height();
        facts.pixelsPerInch = qRound(primary->logicalDotsPerInch());
        // The primary screen first: a window whose screen is gone comes there.
        facts.freeAreas.push_back(Plain(primary->availableGeometry()));
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            facts.freeAreas.push_back(Plain(screen->availableGeometry()));
        }
    }
    facts.frame = FrameMarginsOf(window);
    return facts;
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

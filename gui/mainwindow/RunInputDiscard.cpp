#include "gui/mainwindow/RunInputDiscard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

namespace trevo::gui {

namespace {

// The events by which a user gives input: keys, clicks, the wheel, touch, pens, menus.
bool IsUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

RunInputDiscard::RunInputDiscard() {
    QCoreApplication::instance()->installEventFilter(this);
}

RunInputDiscard::~RunInputDiscard() {
    // The run let only paints and timers through; what the user gave meanwhile waits in the
    // window system's queue. Taking it in now, with the filter still in place, drops it. Two
    // rounds: the first moves window-system input into Qt's queue, the second delivers it.
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
    }
    QCoreApplication::instance()->removeEventFilter(this);
}

bool RunInputDiscard::eventFilter(QObject* watched, QEvent* event) {
    if (IsUserInput(*event)) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace trevo::gui

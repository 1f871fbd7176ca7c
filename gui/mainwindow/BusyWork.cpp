#include "gui/mainwindow/BusyWork.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QStatusBar>
#include <QWidget>

namespace trevo::gui {

BusyWork::BusyWork(QWidget& window, QStatusBar& statusBar, const QString& progress)
    : statusBar_(statusBar) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    statusBar_.showMessage(progress);
    // Paint only: input that reaches the window now is dropped by the discard.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window.repaint();
}

BusyWork::~BusyWork() {
    statusBar_.clearMessage();
    QApplication::restoreOverrideCursor();
}

}  // namespace trevo::gui

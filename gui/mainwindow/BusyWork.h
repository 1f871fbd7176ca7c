#pragma once
// The window while it works outside a run on the GUI thread (the already-booked scan, undo's
// check and its work): the question just answered is gone and the window repainted before the
// work starts, the cursor is busy, the status bar says what is being done, and clicks and keys
// given meanwhile are dropped as during a run, not carried out afterwards.

#include <QString>

#include "gui/mainwindow/RunInputDiscard.h"

class QStatusBar;
class QWidget;

namespace trevo::gui {

class BusyWork {
  public:
    BusyWork(QWidget& window, QStatusBar& statusBar, const QString& progress);
    BusyWork(const BusyWork&) = delete;
    BusyWork& operator=(const BusyWork&) = delete;
    // Takes the message and the busy cursor away; the input that waited is dropped.
    ~BusyWork();

  private:
    RunInputDiscard discardInput_;
    QStatusBar& statusBar_;
};

}  // namespace trevo::gui

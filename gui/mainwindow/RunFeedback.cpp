#include "gui/mainwindow/RunFeedback.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QStatusBar>
#include <algorithm>

#include "gui/mainwindow/PaneTraceSink.h"

namespace trevo::gui {

RunFeedback::RunFeedback(PaneTraceSink& trace, QStatusBar& statusBar, RunFeedbackTiming timing)
    : trace_(trace), statusBar_(statusBar), timing_(timing) {
    clock_.start();
}

RunFeedback::~RunFeedback() {
    statusBar_.clearMessage();
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
    }
}

void RunFeedback::LineDone(std::uint64_t bytesRead, std::uint64_t bytesTotal,
                           std::int64_t documentCount) {
    const std::int64_t now = clock_.elapsed();
    if (now < timing_.quietPeriod.count()) {
        return;
    }
    if (lastRefreshMs_ && now - *lastRefreshMs_ < timing_.refreshInterval.count()) {
        return;
    }
    lastRefreshMs_ = now;
    Refresh(bytesRead, bytesTotal, documentCount);
}

void RunFeedback::Refresh(std::uint64_t bytesRead, std::uint64_t bytesTotal,
                          std::int64_t documentCount) {
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    trace_.Flush();
    const std::uint64_t percent =
        bytesTotal == 0 ? 0 : std::min<std::uint64_t>(100, bytesRead * 100 / bytesTotal);
    statusBar_.showMessage(QStringLiteral("Konwersja: dokumentów %1, przeczytano %2% pliku")
                               .arg(documentCount)
                               .arg(percent));
    // Paint and timers only: keys, clicks and close requests wait until the run has ended.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace trevo::gui

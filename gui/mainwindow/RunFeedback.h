#pragma once
// What the window shows while a run works: after a quiet period the trace so far, the progress
// in the status bar and a busy cursor, refreshed at a steady pace. Between refreshes the window
// repaints, but user input waits until the run has ended.

#include <QElapsedTimer>
#include <chrono>
#include <cstdint>
#include <optional>

#include "engine/run/ConversionRun.h"

class QStatusBar;

namespace trevo::gui {

class PaneTraceSink;

struct RunFeedbackTiming {
    // A run shorter than this shows nothing until it ends.
    std::chrono::milliseconds quietPeriod{500};
    std::chrono::milliseconds refreshInterval{100};
};

class RunFeedback final : public RunProgress {
  public:
    RunFeedback(PaneTraceSink& trace, QStatusBar& statusBar, RunFeedbackTiming timing);
    RunFeedback(const RunFeedback&) = delete;
    RunFeedback& operator=(const RunFeedback&) = delete;
    // Takes the progress message and the busy cursor away again.
    ~RunFeedback() override;

    void LineDone(std::uint64_t bytesRead, std::uint64_t bytesTotal,
                  std::int64_t documentCount) override;

  private:
    void Refresh(std::uint64_t bytesRead, std::uint64_t bytesTotal, std::int64_t documentCount);

    PaneTraceSink& trace_;
    QStatusBar& statusBar_;
    RunFeedbackTiming timing_;
    QElapsedTimer clock_;
    std::optional<std::int64_t> lastRefreshMs_;
    bool busyCursor_ = false;
};

}  // namespace trevo::gui

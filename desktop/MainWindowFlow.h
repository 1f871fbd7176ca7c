#pragma once
// The main window's behaviour, whatever draws it: each action of the window is one call here,
// which checks the inputs, asks, runs and says what happened through the window's view. Every
// call runs on the GUI thread and returns once its work is done; no exception leaves it (an
// error that escapes an action is shown in the view's error box, and the window stays usable).
// While the flow works (IsWorking), every action called again returns at once, doing nothing.

#include <chrono>
#include <cstdint>

#include "desktop/MainWindowView.h"
#include "desktop/StatusLine.h"
#include "engine/ledger/PeriodFileState.h"

namespace trevo {
class Clock;
class FileSystem;
struct ConversionReport;
struct CurrencyFormat;
struct UndoReport;
}  // namespace trevo

namespace trevo::desktop {

// When a run starts showing its progress.
struct ProgressTiming {
    // A run shorter than this shows nothing until it ends.
    std::chrono::milliseconds quietPeriod{500};
    std::chrono::milliseconds refreshInterval{100};
};

// What the flow's runs and undos work with besides the view.
struct FlowServices {
    FileSystem& fileSystem;
    const Clock* clock = nullptr;           // this machine's when none is given
    const CurrencyFormat* money = nullptr;  // the user's regional format when none is given
};

class MainWindowFlow {
  public:
    MainWindowFlow(MainWindowView& view, FlowServices services);
    MainWindowFlow(const MainWindowFlow&) = delete;
    MainWindowFlow& operator=(const MainWindowFlow&) = delete;

    // act_Konwert: the input checks (a refusal beeps, focuses the box and says why in the
    // status bar), for a writing run the already-booked scan and its question, the confirmation,
    // then the run as RunUnchecked.
    void Convert();
    // One run over the export file with the current inputs, without the checks and questions of
    // Convert: the trace, the summary after the run's last trace line, the digest in the status
    // bar, then its messages.
    void RunUnchecked();
    // act_Cofnij: undo of the last writing run into the ledger directory, after its plan and a
    // question; what it did goes into the trace and the status bar.
    void Undo();
    // act_WyczyscTrace.
    void ClearTrace();
    // FE_EPPExit: one double quote at the start and one at the end of the export path dropped.
    void ExportBoxLeft();
    // Act_FirmyKPR and Label1: the picker; a confirmed company's directory becomes the ledger
    // directory. Whatever goes wrong around the picker leaves the box as it was, silently.
    void PickCompany();

    // The window is asked to close: true when it may; false while the flow works, which closes
    // it (view.CloseLater) once the work has ended.
    bool CloseRequested();

    bool IsWorking() const { return working_; }
    // Documents the last run accepted; unchanged by a run whose export file did not open.
    std::int64_t DocumentCount() const { return documentCount_; }
    // What the status bar shows: a refusal, otherwise the last digest; empty for the owner line.
    const StatusText& Status() const { return statusLine_.Shown(); }

    // Tests shorten it.
    void SetProgressTiming(ProgressTiming timing) { progressTiming_ = timing; }

  private:
    // The whole of Convert, whose errors Guarded catches.
    void ConvertSteps();
    // `skipBooked` and `bookedAsAsked`: the already-booked question's answer and what it saw.
    void RunSteps(bool skipBooked, const PeriodFileStates* bookedAsAsked);
    void UndoSteps();
    // An action starts: a refusal shown from before goes.
    void ActionStarted();
    void Refuse(const InputRefusal& refusal);
    void ShowStatus();
    void ShowRunSummary(const ConversionReport& report);
    void ShowUndoStatus(const UndoReport& report);
    // Runs an action; an error escaping it goes to the view's error box.
    template <typename Action>
    void Guarded(Action&& action);
    // A close asked while the flow worked, now that it has ended.
    void CloseIfAsked();

    MainWindowView& view_;
    FlowServices services_;
    ProgressTiming progressTiming_;
    StatusLine statusLine_;
    bool working_ = false;
    bool closeAsked_ = false;
    std::int64_t documentCount_ = 0;
};

}  // namespace trevo::desktop

#include "desktop/MainWindowFlow.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "desktop/BookedQuestion.h"
#include "desktop/InputChecks.h"
#include "desktop/MainWindowForm.h"
#include "desktop/PathQuotes.h"
#include "desktop/QuestionText.h"
#include "desktop/TraceBatch.h"
#include "engine/files/FileSystem.h"
#include "engine/journal/UndoSession.h"
#include "engine/run/BookedScan.h"
#include "engine/run/ConversionSession.h"
#include "engine/summary/SummaryText.h"
#include "engine/text/Win1250.h"

namespace trevo::desktop {

namespace {

// The flow is at work for as long as it lives: close requests wait.
class Working {
  public:
    explicit Working(bool& flag) : flag_(flag) { flag_ = true; }
    Working(const Working&) = delete;
    Working& operator=(const Working&) = delete;
    ~Working() { flag_ = false; }

  private:
    bool& flag_;
};

// The view's "work starts" for as long as it lives.
class ViewWork {
  public:
    ViewWork(MainWindowView& view, std::string_view progress) : view_(view) {
        view_.WorkStarts(std::string(progress));
    }
    ViewWork(const ViewWork&) = delete;
    ViewWork& operator=(const ViewWork&) = delete;
    ~ViewWork() { view_.WorkEnds(); }

  private:
    MainWindowView& view_;
};

// A run's progress in the window: after a quiet period the trace so far and the progress in
// the status bar, refreshed at a steady pace.
class ProgressPace final : public RunProgress {
  public:
    ProgressPace(TraceBatch& trace, MainWindowView& view, ProgressTiming timing)
        : trace_(trace), view_(view), timing_(timing), start_(Clock::now()) {}

    void LineDone(std::uint64_t bytesRead, std::uint64_t bytesTotal,
                  std::int64_t documentCount) override {
        const auto now = Clock::now() - start_;
        if (now < timing_.quietPeriod) {
            return;
        }
        if (lastRefresh_ && now - *lastRefresh_ < timing_.refreshInterval) {
            return;
        }
        lastRefresh_ = now;
        trace_.Flush();
        const std::uint64_t percent =
            bytesTotal == 0 ? 0 : std::min<std::uint64_t>(100, bytesRead * 100 / bytesTotal);
        view_.WorkProgress("Konwersja: dokumentów " + std::to_string(documentCount) +
                           ", przeczytano " + std::to_string(percent) + "% pliku");
    }

  private:
    using Clock = std::chrono::steady_clock;
    TraceBatch& trace_;
    MainWindowView& view_;
    ProgressTiming timing_;
    Clock::time_point start_;
    std::optional<Clock::duration> lastRefresh_;
};

bool IsUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (!text::DecodeUtf8(text, pos)) {
            return false;
        }
    }
    return true;
}

// The engine names files in Windows-1250; a character it cannot hold becomes '?' (the checks
// refuse such a path before a run they start).
std::string Win1250Path(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto codePoint = text::DecodeUtf8(utf8, pos);
        if (!codePoint) {
            ++pos;
        }
        const auto byte = codePoint ? text::CodePointToWin1250(*codePoint) : std::nullopt;
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
}

RunInputs RunInputsOf(const WindowInputs& window) {
    RunInputs inputs;
    inputs.exportPath = Win1250Path(window.exportPath);
    inputs.ledgerDir = Win1250Path(window.ledgerDir);
    inputs.ledgerCode = window.ledgerCode;
    inputs.checkOnly = window.checkOnly;
    inputs.attributeLetter = LetterByte(window.attributeLetter).value_or('\0');
    inputs.registerLetter = LetterByte(window.registerLetter).value_or('\0');
    return inputs;
}

TraceBatch TraceOf(MainWindowView& view) {
    return TraceBatch([&view](std::string_view lines) { view.AppendTraceLines(lines); });
}

std::string Text(std::string_view text) {
    return std::string(text);
}

}  // namespace

MainWindowFlow::MainWindowFlow(MainWindowView& view, FlowServices services)
    : view_(view), services_(services) {}

template <typename Action>
void MainWindowFlow::Guarded(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        const std::string_view what = error.what();
        view_.ShowError(IsUtf8(what) ? std::string(what) : text::Win1250ToUtf8(what));
    } catch (...) {
        view_.ShowError(Text(form::kUnknownError));
    }
}

void MainWindowFlow::CloseIfAsked() {
    if (!working_ && std::exchange(closeAsked_, false)) {
        view_.CloseLater();
    }
}

bool MainWindowFlow::CloseRequested() {
    // The work owns open files: the window closes once it has ended.
    if (working_) {
        closeAsked_ = true;
        return false;
    }
    closeAsked_ = false;
    return true;
}

void MainWindowFlow::ShowStatus() {
    view_.ShowStatus(statusLine_.Shown());
}

void MainWindowFlow::ActionStarted() {
    statusLine_.ActionStarted();
    ShowStatus();
}

void MainWindowFlow::Refuse(const InputRefusal& refusal) {
    view_.Beep();
    view_.Focus(refusal.box);
    statusLine_.ShowRefusal({refusal.message, refusal.keptWhole});
    ShowStatus();
}

void MainWindowFlow::Convert() {
    if (working_) {
        return;
    }
    Guarded([this] { ConvertSteps(); });
    CloseIfAsked();
}

void MainWindowFlow::ConvertSteps() {
    ActionStarted();
    const WindowInputs inputs = view_.Inputs();
    const ConversionInputTexts texts{inputs.exportPath, inputs.ledgerDir, inputs.attributeLetter,
                                     inputs.registerLetter, inputs.checkOnly};
    if (const auto refusal = CheckConversionInputs(texts, services_.fileSystem)) {
        Refuse(*refusal);
        return;
    }
    bool skipBooked = false;
    std::optional<PeriodFileStates> bookedAsAsked;
    if (!inputs.checkOnly) {
        BookedScan scan;
        {
            // The scan reads the whole export as a run does.
            const Working working(working_);
            const ViewWork work(view_, form::kScanProgress);
            scan =
                ScanForBookedDocuments(RunInputsOf(inputs), services_.fileSystem, services_.clock);
        }
        if (closeAsked_) {
            return;  // asked to close meanwhile: no questions, the window closes
        }
        bookedAsAsked = std::move(scan.files);
        if (!scan.booked.empty()) {
            const auto skip =
                view_.AskYesNoCancel(Text(form::kBookedCaption), BookedQuestionText(scan));
            if (!skip) {
                return;
            }
            skipBooked = *skip;
        }
    }
    const QuestionText question = ConfirmationQuestion(inputs.checkOnly, inputs.ledgerDir);
    if (!view_.AskYesNo(Text(form::kConfirmCaption), question.text, question.details)) {
        return;
    }
    view_.Repaint();
    RunSteps(skipBooked, bookedAsAsked ? &*bookedAsAsked : nullptr);
}

void MainWindowFlow::RunUnchecked() {
    if (working_) {
        return;
    }
    Guarded([this] { RunSteps(false, nullptr); });
    CloseIfAsked();
}

void MainWindowFlow::RunSteps(bool skipBooked, const PeriodFileStates* bookedAsAsked) {
    ConversionRequest request;
    request.inputs = RunInputsOf(view_.Inputs());
    request.inputs.skipBooked = skipBooked;
    request.bookedAsAsked = bookedAsAsked;

    TraceBatch trace = TraceOf(view_);
    ConversionReport report;
    {
        const Working working(working_);
        const ViewWork work(view_, {});
        ProgressPace pace(trace, view_, progressTiming_);
        SessionPlatform platform{trace, services_.fileSystem};
        platform.clock = services_.clock;
        platform.money = services_.money;
        platform.progress = &pace;
        try {
            report = RunConversionSession(request, platform);
        } catch (...) {
            trace.Flush();  // what the run reported before the error stays visible
            throw;
        }
    }
    if (!report.exportOpenFailed.empty()) {
        // Nothing was read: no digest of this run, and the last one's no longer stands.
        statusLine_.ReplaceDigest({});
        ShowStatus();
        view_.ShowMessage(text::Win1250ToUtf8(report.exportOpenFailed));
        return;
    }
    documentCount_ = report.run.documentCount;
    ShowRunSummary(report);
    if (!report.changedSinceAsked.empty()) {
        view_.ShowMessage(text::Win1250ToUtf8(report.changedSinceAsked));
    }
}

void MainWindowFlow::ShowRunSummary(const ConversionReport& report) {
    TraceBatch trace = TraceOf(view_);
    for (const std::string& line : SummaryLines(report.summary, report.money)) {
        trace.AppendLine(line);
    }
    if (!report.journalLost.empty()) {
        trace.AppendLine(report.journalLost);
    }
    trace.Flush();
    // Until the next run or undo.
    statusLine_.ReplaceDigest(RunDigest(text::Win1250ToUtf8(SummaryDigest(report.summary))));
    ShowStatus();
}

void MainWindowFlow::Undo() {
    if (working_) {
        return;
    }
    Guarded([this] { UndoSteps(); });
    CloseIfAsked();
}

void MainWindowFlow::UndoSteps() {
    ActionStarted();
    const std::string ledgerDirText = view_.Inputs().ledgerDir;
    if (const auto refusal = CheckLedgerDirectory(ledgerDirText, services_.fileSystem)) {
        Refuse(*refusal);
        return;
    }
    const std::string ledgerDir = Win1250Path(ledgerDirText);
    // What undo did (or why it did nothing), under its heading.
    const auto show = [this](const UndoSessionResult& result) {
        TraceBatch trace = TraceOf(view_);
        trace.AppendLine({});
        trace.AppendLine(UndoTraceTitle());
        for (const std::string& line : result.doneLines) {
            trace.AppendLine(line);
        }
        if (!result.message.empty()) {
            trace.AppendLine(result.message);
        }
        trace.Flush();
        ShowUndoStatus(result.report);
    };
    UndoSessionResult plan;
    {
        // Reading every file the run touched takes a while on a large ledger.
        const Working working(working_);
        const ViewWork work(view_, form::kUndoChecking);
        plan = RunUndoSession(services_.fileSystem, ledgerDir, UndoRequest::Check);
    }
    if (closeAsked_) {
        return;
    }
    if (plan.report.status != UndoReport::Status::Done) {
        show(plan);
        return;
    }
    std::vector<std::string> planLines;
    for (const std::string& line : plan.doneLines) {
        planLines.push_back(text::Win1250ToUtf8(line));
    }
    const QuestionText question = UndoQuestion(ledgerDirText, planLines);
    if (!view_.AskYesNo(Text(form::kUndoQuestionCaption), question.text, question.details)) {
        return;
    }
    UndoSessionResult done;
    {
        // The answer given, the question leaves the screen before the files change; keys
        // pressed meanwhile (a second undo key) are dropped, not asked about afterwards.
        const Working working(working_);
        const ViewWork work(view_, form::kUndoing);
        // Checked again while undoing: the files may have changed during the question.
        done = RunUndoSession(services_.fileSystem, ledgerDir, UndoRequest::Undo);
    }
    show(done);
}

void MainWindowFlow::ShowUndoStatus(const UndoReport& report) {
    const UndoStatus status = UndoStatusText(report);
    if (status.changedBooks) {
        statusLine_.ReplaceDigest(status.text);
    } else {
        statusLine_.ShowRefusal(status.text);
    }
    ShowStatus();
}

void MainWindowFlow::ClearTrace() {
    if (working_) {
        return;
    }
    Guarded([this] {
        ActionStarted();
        view_.ClearTrace();
    });
}

void MainWindowFlow::ExportBoxLeft() {
    if (working_) {
        return;
    }
    Guarded([this] {
        const std::string text = view_.Inputs().exportPath;
        std::string unquoted = UnquotePath(text);
        if (unquoted != text) {
            view_.SetExportPath(unquoted);
        }
    });
}

void MainWindowFlow::PickCompany() {
    if (working_) {
        return;
    }
    // Whatever goes wrong around the picker leaves the directory as it was, without a message.
    try {
        ActionStarted();
        const WindowInputs inputs = view_.Inputs();
        if (const auto directory =
                view_.PickCompanyDirectory(inputs.ledgerDir, inputs.ledgerCode)) {
            view_.SetLedgerDir(*directory);
        }
    } catch (...) {
    }
}

}  // namespace trevo::desktop

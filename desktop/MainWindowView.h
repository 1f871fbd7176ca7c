#pragma once
// What a front end's main window does for the window's behaviour (MainWindowFlow): it hands over
// what the boxes hold and shows what the flow decides. It checks nothing, words nothing and
// starts no run of its own.
//
// Encodings: every text that crosses this interface is UTF-8 (the boxes' texts as typed, the
// questions, messages and status texts), except the trace, whose lines are the engine's
// Windows-1250 bytes, handed over unconverted so that a pane of millions of lines converts
// only what it draws.

#include <optional>
#include <string>
#include <string_view>

#include "desktop/InputChecks.h"
#include "desktop/StatusLine.h"
#include "engine/text/zdTransPL.h"

namespace trevo::desktop {

// The inputs of a conversion as the window's controls hold them.
struct WindowInputs {
    std::string exportPath;  // FE_EPP's text as typed, quotes and all
    std::string ledgerDir;   // de_KPR
    std::string attributeLetter;
    std::string registerLetter;
    bool checkOnly = false;  // ch_sprawdz
    // RB_MAZ checked: Mazovia, otherwise CP852.
    PolishCharset ledgerCode = PolishCharset::pcMazovia;
};

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;

    virtual WindowInputs Inputs() const = 0;
    virtual void SetExportPath(const std::string& path) = 0;
    virtual void SetLedgerDir(const std::string& dir) = 0;

    // The system's default beep.
    virtual void Beep() = 0;
    virtual void Focus(InputBox box) = 0;
    // The status bar's text; an empty text: the owner line.
    virtual void ShowStatus(const StatusText& status) = 0;

    // Yes/No with an information icon, No the default; true for Yes. `details`: the question's
    // lines whole where `text` shortened them; empty when none was.
    virtual bool AskYesNo(const std::string& caption, const std::string& text,
                          const std::string& details) = 0;
    // Yes/No/Cancel, Cancel the default: true for Yes, false for No, nothing for Cancel.
    virtual std::optional<bool> AskYesNoCancel(const std::string& caption,
                                               const std::string& text) = 0;
    // The plain box: the application's title as its caption, no icon, only OK.
    virtual void ShowMessage(const std::string& text) = 0;
    // The general error box, for an error that escaped an action (its text; Windows-1250 text
    // from the system is converted to UTF-8 first).
    virtual void ShowError(const std::string& text) = 0;

    // Lines added at the end of the trace pane: Windows-1250, joined by '\n' (a CR LF inside an
    // engine line is already one '\n'), no '\n' after the last. Called in batches.
    virtual void AppendTraceLines(std::string_view win1250Lines) = 0;
    virtual void ClearTrace() = 0;

    // The window repainted now (paint only, no input), before a run holds the GUI thread: the
    // question just answered leaves the screen.
    virtual void Repaint() = 0;
    // Work on the GUI thread starts (a run, the already-booked scan, undo's check or its work).
    // From now until WorkEnds, user input to the program's windows is dropped, not carried out
    // afterwards; close requests still reach the flow (CloseRequested), which defers them. With
    // a `progress` text: a busy cursor and the text in the status bar at once, and the window
    // repainted before the work starts (as Repaint). Without (a run): nothing shows until
    // WorkProgress.
    virtual void WorkStarts(const std::string& progress) = 0;
    // The work's progress: the busy cursor, `progress` in the status bar, the window (trace pane
    // included) repainted; paint and timers only, no input.
    virtual void WorkProgress(const std::string& progress) = 0;
    // The progress text and the busy cursor go; input that waited meanwhile is dropped. Must not
    // throw: it is called while the flow unwinds.
    virtual void WorkEnds() = 0;

    // A close the flow deferred while it worked: close the window now, as if asked again, once
    // the current event handler has returned (posted, not called from within).
    virtual void CloseLater() = 0;

    // The company picker, opened at `ledgerDir` with the ledger's code page: the directory of the
    // company the user confirmed (UTF-8), or nothing.
    virtual std::optional<std::string> PickCompanyDirectory(const std::string& ledgerDir,
                                                            PolishCharset ledgerCode) = 0;
};

}  // namespace trevo::desktop

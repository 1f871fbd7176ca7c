#pragma once
// What the main window's status bar says between runs: the digest of the last action that
// changed the books (a run, an undo) until the next one, and over it, until the next action,
// why an action was refused. With neither, the bar shows its owner line.

#include <cstddef>
#include <string>

#include "engine/journal/UndoLastRun.h"

namespace trevo::desktop {

struct StatusText {
    std::string text;  // UTF-8
    // Bytes at its start kept whole when it must be shortened (TextFit).
    std::size_t keptWhole = 0;
};

class StatusLine {
  public:
    // After a run or an undo: what it did, replacing what the last one did.
    void ReplaceDigest(StatusText digest);
    // Why the action just asked for was refused; it stays until the next action.
    void ShowRefusal(StatusText refusal);
    // An action starts: a refusal from before goes.
    void ActionStarted() { refusal_ = {}; }

    // The refusal when there is one, otherwise the digest; an empty text when neither.
    const StatusText& Shown() const;

  private:
    StatusText digest_;
    StatusText refusal_;
};

// A run's digest (the engine's, in UTF-8); its first part, up to the first "; ", says how many
// documents were booked and is kept whole.
StatusText RunDigest(std::string digest);

// What undo says in the status bar. A finished undo, and one that failed part way, changed the
// books: `changedBooks` is set and the text replaces the digest. Otherwise nothing was changed
// and the text is a refusal.
struct UndoStatus {
    StatusText text;
    bool changedBooks = false;
};
UndoStatus UndoStatusText(const UndoReport& report);

}  // namespace trevo::desktop

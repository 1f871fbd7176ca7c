#pragma once
// Undo as a front end starts it: the last writing run into a ledger directory taken back,
// checked only, or its unusable journal set aside, with what there is to say worded once. The
// front end only shows the result.

#include <string>
#include <vector>

#include "engine/journal/UndoLastRun.h"

namespace trevo {

class FileSystem;

enum class UndoRequest {
    Undo,
    Check,              // what undo would do; nothing is changed
    DiscardUnfinished,  // see DiscardUnfinishedRun
};

struct UndoSessionResult {
    UndoReport report;
    // Windows-1250, Polish. Done: what was (or would be) done, a line for each file, or the
    // journal set aside.
    std::vector<std::string> doneLines;
    // Not done: why nothing (or, FailedPartWay, not everything) was changed. Done: a warning
    // about something left behind, or empty.
    std::string message;
};

UndoSessionResult RunUndoSession(FileSystem& fileSystem, const std::string& ledgerDir,
                                 UndoRequest request);

// The heading over what undo did in a window's trace.
std::string UndoTraceTitle();

}  // namespace trevo

#pragma once
// What undo did (or, checking, would do) in words: Windows-1250 lines, Polish, for the command
// line and the window's trace.

#include <string>
#include <vector>

#include "engine/journal/UndoLastRun.h"

namespace trevo {

// For a report of status Done: the run undone and one line per file.
std::vector<std::string> UndoReportLines(const UndoReport& report, bool checkOnly);
// For a report of DiscardUnfinishedRun of status Done.
std::string SetAsideLine(const UndoReport& report);

}  // namespace trevo

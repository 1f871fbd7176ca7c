#pragma once
// One round of the main window in this process: a check-only run over the export file with the
// trace shown, timed from the Convert action to the first paint after the run, then the trace
// pane scrolled and repainted.

#include <string>

namespace trevo::bench {

struct WindowRoundOptions {
    std::string exportPath;
    std::string resultPath;  // where the figures go (RoundResults)
    // When set: no timing, the pane's text is compared with this trace of the command line.
    std::string compareWithCliTrace;
};

// Creates the application and the window; returns the process exit status.
int RunWindowRound(int argc, char** argv, const WindowRoundOptions& options);

}  // namespace trevo::bench

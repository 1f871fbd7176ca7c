#pragma once
// What stops a convert run of the command line, for as long as an object of this class lives.
// On Linux:
// - SIGPIPE is ignored: a reader that went away (`| head -1`) makes writing the trace fail,
//   which the run reports by its exit status, instead of killing the run between two records;
// - SIGINT, SIGTERM and SIGHUP ask the run to stop: it finishes the document in hand, reads no
//   further, reports and closes its files (see RunServices::stop). A signal that was ignored
//   when the program started (nohup, a background job) stays ignored.
// On Windows the console's events do the same (cli/ConsoleStopEvents.h): Ctrl+C, Ctrl+Break and
// the console window being closed.

#include <atomic>
#include <memory>

namespace trevo::cli {

class RunSignals {
  public:
    RunSignals();
    RunSignals(const RunSignals&) = delete;
    RunSignals& operator=(const RunSignals&) = delete;
    // Puts back what was there before.
    ~RunSignals();

    // 0, or the number of the last stopping signal that arrived.
    const std::atomic<int>& Stop() const;

  private:
    struct Saved;  // what the platform had before
    std::unique_ptr<Saved> saved_;
};

// For the rest of the process: a write to a pipe whose reader went away fails instead of
// ending the process (SIGPIPE ignored on Linux; Windows has no such signal, the write fails).
void IgnoreBrokenPipe();

// The exit status of a run stopped by `signal`, as a shell reports a process it killed.
inline int ExitStatusForSignal(int signal) {
    return 128 + signal;
}

}  // namespace trevo::cli

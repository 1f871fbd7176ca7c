#pragma once
// trevo2kpr-cli started as a child process with its standard descriptors arranged as a hostile
// caller might leave them: closed, on a pipe nobody reads, or on a pseudo-terminal.

#include <sys/types.h>

#include <string>
#include <vector>

namespace trevo::reliability {

enum class Stdout {
    Pipe,        // a pipe the test reads (and may leave unread, so that the run blocks)
    PipeClosed,  // a pipe whose reader has gone
    Closed,
    Terminal,  // a pseudo-terminal; Out() is its master side
};

struct CliOptions {
    bool closeStdin = false;
    bool closeStderr = false;
    Stdout out = Stdout::Pipe;
    bool ignoreHangup = false;  // SIGHUP ignored before the program starts, as nohup does
};

class CliChild {
  public:
    CliChild(const std::vector<std::string>& args, const CliOptions& options);
    CliChild(const CliChild&) = delete;
    CliChild& operator=(const CliChild&) = delete;
    ~CliChild();

    pid_t Pid() const { return pid_; }
    int Out() const { return out_; }

    // Waits until the run is blocked on a full stdout pipe (false after ten seconds).
    bool WaitUntilOutputBlocks() const;
    // Everything the child printed from now on, until it closes its output.
    std::string ReadToEnd();
    // The child's exit status, or 128 + signal when a signal ended it; -1 when it could not
    // be waited for.
    int Wait();

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

// Whether this machine can open a pseudo-terminal.
bool IsTerminalAvailable();

}  // namespace trevo::reliability

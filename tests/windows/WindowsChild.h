#pragma once
// trevo2kpr-cli.exe started as a child process with CreateProcessW, its standard handles
// arranged as a caller might leave them: a pipe the test reads (or leaves unread, so that the
// run blocks), a file, the NUL device, the test's console, or none at all.

#include <windows.h>

#include <string>
#include <vector>

namespace trevo::windows_tests {

enum class Output {
    Pipe,     // a pipe the test reads; stderr goes to a pipe of its own
    File,     // stdout to `outputFile`; stderr to a pipe
    Nul,      // stdout and stderr to NUL
    Console,  // the test's own console, for stdout and stderr
    Missing,  // no standard handles at all
};

struct ChildOptions {
    Output output = Output::Pipe;
    std::wstring outputFile;
    bool newProcessGroup = false;  // as `start` makes one: Ctrl+C is ignored there
};

struct ChildResult {
    DWORD exitCode = 0;
    std::string out;  // what a pipe got
    std::string err;
};

// The command line's path, as Windows spells it.
std::wstring CliPath();

class WindowsChild {
  public:
    // Arguments in UTF-8.
    WindowsChild(const std::vector<std::string>& args, const ChildOptions& options);
    WindowsChild(const WindowsChild&) = delete;
    WindowsChild& operator=(const WindowsChild&) = delete;
    ~WindowsChild();

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    // Waits until the run is blocked on a full stdout pipe (false after twenty seconds).
    bool WaitUntilOutputBlocks() const;
    // Reads stdout and stderr to their ends and waits for the exit (killed after 60 s).
    ChildResult Finish();

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    HANDLE out_ = nullptr;  // our ends of the pipes
    HANDLE err_ = nullptr;
};

// Runs to the end with stdout and stderr on pipes.
ChildResult RunCli(const std::vector<std::string>& args, const ChildOptions& options = {});

}  // namespace trevo::windows_tests

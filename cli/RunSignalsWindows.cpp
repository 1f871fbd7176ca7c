#include <windows.h>

#include "cli/ConsoleStopEvents.h"
#include "cli/RunSignals.h"
#include "engine/platform/SignalFlags.h"

namespace trevo::cli {

namespace {

using signal_flags::stopSignal;

// Called on a thread of the system's own while the run goes on.
BOOL WINAPI AskToStop(DWORD event) {
    const int signal = StopSignalForConsoleEvent(event);
    if (signal == 0) {
        return FALSE;
    }
    stopSignal.store(signal, std::memory_order_relaxed);
    if (signal == kConsoleClosed) {
        // The system ends the process as soon as this returns, and at the latest after its
        // grace time (5 s): so this does not return. The run finishes the document in hand,
        // closes its files and the program exits with its own status meanwhile.
        ::Sleep(INFINITE);
    }
    return TRUE;
}

}  // namespace

int StopSignalForConsoleEvent(unsigned long event) {
    switch (event) {
        case CTRL_C_EVENT:
            return kConsoleInterrupt;
        case CTRL_BREAK_EVENT:
            return kConsoleBreak;
        case CTRL_CLOSE_EVENT:
            return kConsoleClosed;
        default:
            return 0;
    }
}

struct RunSignals::Saved {
    bool installed = false;
};

RunSignals::RunSignals() : saved_(std::make_unique<Saved>()) {
    // Ctrl+C ignored when the program started (a process group of its own, or an ignoring
    // parent) stays ignored: the system then calls no handler for it.
    saved_->installed = ::SetConsoleCtrlHandler(AskToStop, TRUE) != 0;
}

RunSignals::~RunSignals() {
    // A handler waiting for the process to end after a close holds the system's handler list:
    // taking the handler out then would wait for it forever. The process is ending anyway.
    if (saved_->installed && stopSignal.load(std::memory_order_relaxed) != kConsoleClosed) {
        ::SetConsoleCtrlHandler(AskToStop, FALSE);
    }
}

void IgnoreBrokenPipe() {}

const std::atomic<int>& RunSignals::Stop() const {
    return stopSignal;
}

}  // namespace trevo::cli

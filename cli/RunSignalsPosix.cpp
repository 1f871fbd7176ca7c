#include "cli/RunSignals.h"

#include "engine/platform/SignalFlags.h"

namespace trevo::cli {

namespace {

using signal_flags::stopSignal;

constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};

void AskToStop(int signal) {
    stopSignal.store(signal, std::memory_order_relaxed);
}

}  // namespace

RunSignals::RunSignals() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &savedPipe_);

    struct sigaction ask {};
    ask.sa_handler = AskToStop;
    sigemptyset(&ask.sa_mask);
    // Interrupted system calls resume: a trace write cut short by a signal is no failure.
    ask.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        struct sigaction old {};
        sigaction(kStopSignals[i], nullptr, &old);
        if (old.sa_handler == SIG_IGN) {
            continue;
        }
        installed_[i] = sigaction(kStopSignals[i], &ask, &savedStop_[i]) == 0;
    }
}

RunSignals::~RunSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        if (installed_[i]) {
            sigaction(kStopSignals[i], &savedStop_[i], nullptr);
            installed_[i] = false;
        }
    }
    sigaction(SIGPIPE, &savedPipe_, nullptr);
}

const std::atomic<int>& RunSignals::Stop() const {
    return stopSignal;
}

}  // namespace trevo::cli

#include <signal.h>

#include <array>

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

struct RunSignals::Saved {
    struct sigaction pipe {};
    std::array<struct sigaction, 3> stop{};
    std::array<bool, 3> installed{};
};

RunSignals::RunSignals() : saved_(std::make_unique<Saved>()) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &saved_->pipe);

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
        saved_->installed[i] = sigaction(kStopSignals[i], &ask, &saved_->stop[i]) == 0;
    }
}

RunSignals::~RunSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        if (saved_->installed[i]) {
            sigaction(kStopSignals[i], &saved_->stop[i], nullptr);
            saved_->installed[i] = false;
        }
    }
    sigaction(SIGPIPE, &saved_->pipe, nullptr);
}

void IgnoreBrokenPipe() {
    ::signal(SIGPIPE, SIG_IGN);
}

const std::atomic<int>& RunSignals::Stop() const {
    return stopSignal;
}

}  // namespace trevo::cli

#include "qtplatform/TerminationSignals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace trevo::qt {

namespace {

// A signal ignored when the program started (nohup, a background job) stays ignored: blocked,
// it would be queued and read all the same.
sigset_t TerminationSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&set, signal);
        }
    }
    return set;
}

}  // namespace

void TerminationSignals::Block() {
    const sigset_t set = TerminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    const sigset_t set = TerminationSet();
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) {
        return;  // the signals keep their default effect
    }
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadSignal);
}

TerminationSignals::~TerminationSignals() {
    if (fd_ >= 0) {
        delete notifier_;
        ::close(fd_);
    }
}

void TerminationSignals::ReadSignal() {
    signalfd_siginfo info;
    while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        emit received(static_cast<int>(info.ssi_signo), ++count_);
    }
}

}  // namespace trevo::qt

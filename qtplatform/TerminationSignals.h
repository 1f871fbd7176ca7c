#pragma once
// SIGTERM, SIGINT and SIGHUP as events of the Qt event loop, so that a logout, `kill` or Ctrl+C
// in the terminal closes the windows as the user would, saving their settings. The signals are
// blocked and read from a signalfd: no handler runs, and nothing is shared with one. A signal
// that is ignored (nohup) is left alone.

#include <QObject>

class QSocketNotifier;

namespace trevo::qt {

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    // Blocks the three signals in the calling thread and every thread it starts later. Call it
    // first in main(), before the application object starts its threads.
    static void Block();

    // Reads the blocked signals as they come; without Block() nothing arrives.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool IsListening() const { return fd_ >= 0; }

  signals:
    // One signal arrived; `count` is how many have arrived so far, this one included.
    void received(int signalNumber, int count);

  private:
    void ReadSignal();

    int fd_ = -1;
    int count_ = 0;
    QSocketNotifier* notifier_ = nullptr;  // child
};

}  // namespace trevo::qt

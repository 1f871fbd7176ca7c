#pragma once
// While a run works on the GUI thread the window takes no input; clicks and keys given in that
// time are dropped, not carried out once the run has ended (typed text would land in a box, a
// click on "Wyczyść" would wipe the trace the run just wrote). Close requests are not input:
// they pass, and the window defers them until the run has ended.

#include <QObject>

namespace trevo::gui {

class RunInputDiscard : public QObject {
  public:
    // From now on user input to any window of the program is dropped.
    RunInputDiscard();
    RunInputDiscard(const RunInputDiscard&) = delete;
    RunInputDiscard& operator=(const RunInputDiscard&) = delete;
    // Takes in the input that waited in the window system's queue during the run, drops it,
    // and lets input through again.
    ~RunInputDiscard() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace trevo::gui

#pragma once
// Hints (tooltips) switched on and off for a whole window at once. The controls keep their hint
// texts; while the switch is off their tooltip events are swallowed.

#include <QObject>

class QWidget;

namespace trevo::gui {

class HintSwitch : public QObject {
    Q_OBJECT

  public:
    // Off at start. Watches the window and every widget inside it at the time of the call.
    explicit HintSwitch(QWidget* window);

    bool isOn() const { return on_; }
    // `widget` shows its tooltip whether hints are on or not: one that is no hint but the whole
    // of a shortened text.
    void Exempt(QWidget* widget);
    void setOn(bool on) { on_ = on; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool on_ = false;
};

}  // namespace trevo::gui

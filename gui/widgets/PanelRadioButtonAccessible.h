#pragma once
// What screen readers see of a PanelRadioButton: a radio button. The toolkit takes a checkable
// button that keeps its exclusion by hand for a check box.

#include <QAccessibleWidget>

namespace trevo::gui {

class PanelRadioButton;

class PanelRadioButtonAccessible : public QAccessibleWidget {
  public:
    explicit PanelRadioButtonAccessible(PanelRadioButton* button);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

  private:
    PanelRadioButton* Button() const;
};

// Makes QAccessible hand out a PanelRadioButtonAccessible for every PanelRadioButton. Returns
// true.
bool InstallPanelRadioButtonAccessibility();

}  // namespace trevo::gui

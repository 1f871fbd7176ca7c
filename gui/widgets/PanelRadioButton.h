#pragma once
// A radio button whose exclusion is kept by hand among the PanelRadioButtons of its panel:
// checking one unchecks the others, unchecking one leaves the others as they are. The toolkit's
// own exclusion refuses to uncheck the checked button, so "none checked", which a restored
// setting may ask for, could not be set through the plain "checked" property.
//
// As on the platform the window comes from, the user cannot uncheck a button by clicking it, only
// the checked button of a panel is a Tab stop, and the arrow keys move to and check the next
// button of the panel.

#include <QRadioButton>

namespace trevo::gui {

class PanelRadioButton : public QRadioButton {
    Q_OBJECT

  public:
    PanelRadioButton(const QString& text, QWidget* panel);

  protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnToggled(bool checked);
    QList<PanelRadioButton*> PanelButtons() const;
};

}  // namespace trevo::gui

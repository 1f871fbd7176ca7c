#include "gui/widgets/PanelRadioButton.h"

#include <QAccessible>
#include <QKeyEvent>

#include "gui/widgets/PanelRadioButtonAccessible.h"

namespace trevo::gui {

PanelRadioButton::PanelRadioButton(const QString& text, QWidget* panel)
    : QRadioButton(text, panel) {
    // Registered once for the process, before any button can be asked for.
    [[maybe_unused]] static const bool accessible = InstallPanelRadioButtonAccessibility();
    setAutoExclusive(false);
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QAbstractButton::toggled, this, &PanelRadioButton::OnToggled);
}

void PanelRadioButton::nextCheckState() {
    if (!isChecked()) {
        setChecked(true);
    }
}

void PanelRadioButton::OnToggled(bool checked) {
    setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    if (!checked) {
        return;
    }
    for (PanelRadioButton* other : PanelButtons()) {
        if (other != this) {
            other->setChecked(false);
        }
    }
}

QList<PanelRadioButton*> PanelRadioButton::PanelButtons() const {
    if (parentWidget() == nullptr) {
        return {};
    }
    return parentWidget()->findChildren<PanelRadioButton*>(Qt::FindDirectChildrenOnly);
}

void PanelRadioButton::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            step = -1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            step = 1;
            break;
        default:
            QRadioButton::keyPressEvent(event);
            return;
    }
    const QList<PanelRadioButton*> buttons = PanelButtons();
    const qsizetype count = buttons.size();
    const qsizetype next = (buttons.indexOf(this) + step + count) % count;
    PanelRadioButton* target = buttons.at(next);
    target->setChecked(true);
    target->setFocus(Qt::TabFocusReason);
}

}  // namespace trevo::gui

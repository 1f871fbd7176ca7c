#include "gui/widgets/PanelRadioButtonAccessible.h"

#include "gui/widgets/PanelRadioButton.h"

namespace trevo::gui {

namespace {

QAccessibleInterface* PanelRadioButtonFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(PanelRadioButton::staticMetaObject.className())) {
        if (auto* button = qobject_cast<PanelRadioButton*>(object)) {
            return new PanelRadioButtonAccessible(button);
        }
    }
    return nullptr;
}

}  // namespace

bool InstallPanelRadioButtonAccessibility() {
    QAccessible::installFactory(&PanelRadioButtonFactory);
    return true;
}

PanelRadioButtonAccessible::PanelRadioButtonAccessible(PanelRadioButton* button)
    : QAccessibleWidget(button, QAccessible::RadioButton) {}

PanelRadioButton* PanelRadioButtonAccessible::Button() const {
    return static_cast<PanelRadioButton*>(widget());
}

QAccessible::State PanelRadioButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = Button()->isChecked();
    return state;
}

QString PanelRadioButtonAccessible::text(QAccessible::Text t) const {
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && text.isEmpty()) {
        text = Button()->text();
        text.remove(u'&');
    }
    return text;
}

QStringList PanelRadioButtonAccessible::actionNames() const {
    return {pressAction()};
}

void PanelRadioButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && Button()->isEnabled()) {
        Button()->click();
    }
}

}  // namespace trevo::gui

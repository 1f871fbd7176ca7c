#include "gui/widgets/HintSwitch.h"

#include <QEvent>
#include <QWidget>

namespace trevo::gui {

HintSwitch::HintSwitch(QWidget* window) : QObject(window) {
    window->installEventFilter(this);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        widget->installEventFilter(this);
    }
}

void HintSwitch::Exempt(QWidget* widget) {
    widget->removeEventFilter(this);
}

bool HintSwitch::eventFilter(QObject* watched, QEvent* event) {
    if (!on_ && event->type() == QEvent::ToolTip) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace trevo::gui

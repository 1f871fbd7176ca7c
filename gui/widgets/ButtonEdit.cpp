#include "gui/widgets/ButtonEdit.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace trevo::gui {

ButtonEdit::ButtonEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    edit_->setObjectName("lineEdit");
    button_->setObjectName("browseButton");
    button_->setText(QStringLiteral("…"));
    // The button never takes the focus, so pressing it does not count as leaving the box.
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button_->setFixedWidth(21);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(button_);

    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, &ButtonEdit::textChanged);
    connect(button_, &QToolButton::clicked, this, [this] { browse(); });
}

QString ButtonEdit::text() const {
    return edit_->text();
}

void ButtonEdit::setText(const QString& text) {
    edit_->setText(text);
}

bool ButtonEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason) {
            emit exited();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace trevo::gui

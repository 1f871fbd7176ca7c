#include "qtplatform/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "qtplatform/ApplicationTitle.h"

namespace trevo::gui {

void ShowPlainMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.setObjectName("PlainMessageBox");
    box.exec();
}

void ShowErrorBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.setObjectName("ErrorBox");
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
              const QString& details) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setObjectName("QuestionBox");
    box.setDetailedText(details);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<bool> AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setObjectName("QuestionBox");
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return true;
        case QMessageBox::No:
            return false;
        default:
            return std::nullopt;
    }
}

void Beep() {
    QApplication::beep();
}

}  // namespace trevo::gui

#include "gui/widgets/DirectoryEdit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace trevo::gui {

namespace {

QString CurrentDriveRoot() {
    QDir dir = QDir::current();
    while (dir.cdUp()) {
    }
    return dir.absolutePath();
}

}  // namespace

DirectoryEdit::DirectoryEdit(QWidget* parent) : ButtonEdit(parent) {}

QString DirectoryEdit::startDirectory() const {
    const QString current = text();
    if (!current.isEmpty() && QFileInfo(current).isDir()) {
        return current;
    }
    return CurrentDriveRoot();
}

void DirectoryEdit::browse() {
    QFileDialog dialog(window(), dialogTitle_, startDirectory());
    dialog.setObjectName("DirectoryDialog");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

}  // namespace trevo::gui

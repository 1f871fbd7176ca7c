#include "gui/widgets/DirectoryEdit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace trevo::gui {

DirectoryEdit::DirectoryEdit(QWidget* parent) : ButtonEdit(parent) {}

QString DirectoryEdit::startDirectory() const {
    const QString current = text();
    if (current.isEmpty()) {
        return QDir::homePath();
    }
    // The directory itself, or the nearest of its parents that exists.
    QString path = QFileInfo(QDir::fromNativeSeparators(current)).absoluteFilePath();
    for (;;) {
        const QFileInfo info(path);
        if (info.isDir()) {
            return info.absoluteFilePath();
        }
        const QString parent = info.path();
        if (parent == path) {
            return QDir::homePath();
        }
        path = parent;
    }
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

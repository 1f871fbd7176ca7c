#include "gui/widgets/FileNameEdit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "desktop/PathQuotes.h"

namespace trevo::gui {

FileNameEdit::FileNameEdit(QWidget* parent) : ButtonEdit(parent) {}

QString FileNameEdit::fileName() const {
    return QString::fromStdString(desktop::UnquotePath(text().toStdString()));
}

void FileNameEdit::setFileName(const QString& name) {
    setText(QString::fromStdString(desktop::QuotePathWithSpaces(name.toStdString())));
}

QString FileNameEdit::startDirectory() const {
    const QString current = QDir::fromNativeSeparators(fileName());
    if (current.contains(u'/')) {
        const QString dir = QFileInfo(current).absolutePath();
        if (QFileInfo(dir).isDir()) {
            return dir;
        }
    }
    return initialDir_;
}

void FileNameEdit::acceptChosenFile(const QString& path) {
    setFileName(QDir::toNativeSeparators(path));
    initialDir_ = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    emit fileChosen();
}

void FileNameEdit::browse() {
    QFileDialog dialog(window(), dialogTitle_, startSource_ ? startSource_() : startDirectory());
    dialog.setObjectName("FileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters_);
    // The user sees the filter texts, not the patterns behind them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(defaultSuffix_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    acceptChosenFile(dialog.selectedFiles().constFirst());
}

}  // namespace trevo::gui

#include "gui/widgets/FileNameEdit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "gui/widgets/PathQuotes.h"

namespace trevo::gui {

FileNameEdit::FileNameEdit(QWidget* parent) : ButtonEdit(parent) {}

QString FileNameEdit::fileName() const {
    return UnquotePath(text());
}

void FileNameEdit::setFileName(const QString& name) {
    setText(QuotePathWithSpaces(name));
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
}

void FileNameEdit::browse() {
    QFileDialog dialog(window(), dialogTitle_, startDirectory());
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

QStringList FileDialogFilters(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& text = parts[i];
        const QString& patterns = parts[i + 1];
        if (text.endsWith(u'(' + patterns + u')')) {
            filters << text;
        } else {
            filters << text + QStringLiteral(" (") + QString(patterns).replace(u';', u' ') + u')';
        }
    }
    return filters;
}

}  // namespace trevo::gui

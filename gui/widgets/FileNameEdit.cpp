#include "widgets/FileNameEdit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "widgets/PathQuotes.h"

namespace trevo::gui {

FileNameEdit::FileNameEdit(QWidget* parent) : ButtonEdit(parent) {}

QString FileNameEdit::StartDirectory() const {
    const QString current = UnquotePath(text());
    if (current.isEmpty()) {
        return {};
    }
    const QString dir = QFileInfo(current).absolutePath();
    return QFileInfo(dir).isDir() ? dir : QString();
}

void FileNameEdit::Browse() {
    QFileDialog dialog(window(), dialogTitle_, StartDirectory());
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
    setText(QuotePathWithSpaces(QDir::toNativeSeparators(dialog.selectedFiles().constFirst())));
}

}  // namespace trevo::gui

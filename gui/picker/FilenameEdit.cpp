#include "picker/FilenameEdit.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStringList>
#include <QToolButton>

namespace trevo::gui {

namespace {

constexpr QChar kQuote = u'"';

// Everything up to the last separator, in the platform's form; empty for a bare name.
QString DirectoryPart(const QString& name) {
    const QString portable = QDir::fromNativeSeparators(name);
    const qsizetype slash = portable.lastIndexOf(u'/');
    return slash < 0 ? QString() : portable.left(slash + 1);
}

}  // namespace

FilenameEdit::FilenameEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    button_->setText(QStringLiteral("..."));
    button_->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit_);
    connect(button_, &QToolButton::clicked, this, &FilenameEdit::browse);
}

QString FilenameEdit::text() const {
    return edit_->text();
}

void FilenameEdit::setText(const QString& text) {
    edit_->setText(text);
}

QString FilenameEdit::fileName() const {
    QString name = edit_->text();
    if (name.startsWith(kQuote)) {
        name.remove(0, 1);
    }
    if (name.endsWith(kQuote)) {
        name.chop(1);
    }
    return name;
}

void FilenameEdit::setFileName(const QString& name) {
    const bool quote = name.contains(u' ') && !name.startsWith(kQuote);
    edit_->setText(quote ? kQuote + name + kQuote : name);
}

QString FilenameEdit::browseDirectory() const {
    const QString directory = DirectoryPart(fileName());
    return !directory.isEmpty() && QDir(directory).exists() ? directory : initialDir_;
}

void FilenameEdit::acceptChosenFile(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    setFileName(native);
    initialDir_ = QDir::toNativeSeparators(DirectoryPart(path));
}

void FilenameEdit::browse() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, QString(), browseDirectory(), FileDialogFilter(filter_));
    if (!chosen.isEmpty()) {
        acceptChosenFile(chosen);
    }
}

QString FileDialogFilter(const QString& pipeFilter) {
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
    return filters.join(u";;");
}

}  // namespace trevo::gui

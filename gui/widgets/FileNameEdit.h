#pragma once
// A box holding a file name, with a button that opens the open-file chooser.

#include <QStringList>

#include "widgets/ButtonEdit.h"

namespace trevo::gui {

class FileNameEdit : public ButtonEdit {
    Q_OBJECT

  public:
    explicit FileNameEdit(QWidget* parent = nullptr);

    void setDialogTitle(const QString& title) { dialogTitle_ = title; }
    QString dialogTitle() const { return dialogTitle_; }
    // Filters in the toolkit's form "text(patterns)", in the order the chooser lists them.
    void setNameFilters(const QStringList& filters) { nameFilters_ = filters; }
    QStringList nameFilters() const { return nameFilters_; }
    void setDefaultSuffix(const QString& suffix) { defaultSuffix_ = suffix; }
    QString defaultSuffix() const { return defaultSuffix_; }

    // The directory of the file in the box when that directory exists; empty otherwise, which
    // leaves the choice to the chooser.
    QString StartDirectory() const;

    // The chooser accepts only an existing file. The chosen full path replaces the text, in
    // double quotes when it contains a space.
    void Browse() override;

  private:
    QString dialogTitle_;
    QStringList nameFilters_;
    QString defaultSuffix_;
};

}  // namespace trevo::gui

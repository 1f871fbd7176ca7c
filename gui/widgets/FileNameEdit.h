#pragma once
// A box holding a file name, with a button that opens the open-file chooser. The text may show
// the name in double quotes (a chosen name with a space gets them); `fileName` is always the
// name without them, and is what the settings store as "FilenameEdit.FileName".

#include <QStringList>
#include <functional>

#include "gui/widgets/ButtonEdit.h"

namespace trevo::gui {

class FileNameEdit : public ButtonEdit {
    Q_OBJECT
    Q_PROPERTY(QString fileName READ fileName WRITE setFileName)

  public:
    explicit FileNameEdit(QWidget* parent = nullptr);

    // The text without a double quote at its start or end.
    QString fileName() const;
    // Shows the name, in double quotes when it holds a space and is not quoted yet.
    void setFileName(const QString& name);

    void setDialogTitle(const QString& title) { dialogTitle_ = title; }
    QString dialogTitle() const { return dialogTitle_; }
    // Filters in the toolkit's form "text (patterns)", in the order the chooser lists them.
    void setNameFilters(const QStringList& filters) { nameFilters_ = filters; }
    QStringList nameFilters() const { return nameFilters_; }
    void setDefaultSuffix(const QString& suffix) { defaultSuffix_ = suffix; }
    QString defaultSuffix() const { return defaultSuffix_; }
    // Where the chooser opens when the name in the box has no existing directory; empty leaves
    // the choice to the chooser.
    void setInitialDir(const QString& dir) { initialDir_ = dir; }
    QString initialDir() const { return initialDir_; }

    // The directory of the name in the box when the name has one and it exists; the initial
    // directory otherwise.
    QString startDirectory() const;
    // Where the chooser opens instead, for a window whose behaviour layer decides it.
    void setStartDirectorySource(std::function<QString()> source) {
        startSource_ = std::move(source);
    }

    // What choosing a file does: the chosen path (quoted when it holds a space) replaces the
    // text and its directory becomes the initial one; then fileChosen is emitted.
    void acceptChosenFile(const QString& path);

    // The chooser accepts only an existing file.
    void browse() override;

  signals:
    // The user chose a file with the chooser; the box holds its name.
    void fileChosen();

  private:
    QString dialogTitle_;
    QStringList nameFilters_;
    QString defaultSuffix_;
    QString initialDir_;
    std::function<QString()> startSource_;
};

}  // namespace trevo::gui

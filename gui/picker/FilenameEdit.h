#pragma once
// A one-line file-name box with a browse button that opens the open-file dialog. The text may
// show the name in double quotes (a chosen name with a space gets them); `fileName` is always
// the name without them, and is what the settings store as "FilenameEdit.FileName".

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace trevo::gui {

class FilenameEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString fileName READ fileName WRITE setFileName)
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QString filter READ filter WRITE setFilter)
    Q_PROPERTY(QString initialDir READ initialDir WRITE setInitialDir)

  public:
    explicit FilenameEdit(QWidget* parent = nullptr);

    // The text as shown, quotes included.
    QString text() const;
    void setText(const QString& text);

    // The text without a double quote at its start or end.
    QString fileName() const;
    // Shows the name, in double quotes when it holds a space and is not quoted yet.
    void setFileName(const QString& name);

    // The dialog's filters as "text|patterns|text|patterns", patterns separated by ';'.
    QString filter() const { return filter_; }
    void setFilter(const QString& filter) { filter_ = filter; }

    // Where the dialog opens when the current name has no existing directory.
    QString initialDir() const { return initialDir_; }
    void setInitialDir(const QString& dir) { initialDir_ = dir; }

    // The directory the dialog opens in: that of the current name when it exists, otherwise
    // the initial directory.
    QString browseDirectory() const;

    // What choosing a file in the dialog does: the name replaces the text and its directory
    // becomes the initial one. Nothing is loaded.
    void acceptChosenFile(const QString& path);

    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* browseButton() const { return button_; }

  public slots:
    void browse();

  private:
    QLineEdit* edit_;
    QToolButton* button_;
    QString filter_;
    QString initialDir_;
};

// The "text|patterns|..." filter in the toolkit's form "text (patterns);;...". A text that
// already ends with its patterns in parentheses is kept as it is.
QString FileDialogFilter(const QString& pipeFilter);

}  // namespace trevo::gui

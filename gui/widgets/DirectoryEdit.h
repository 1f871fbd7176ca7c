#pragma once
// A box holding a directory, with a button that opens the folder chooser.

#include "gui/widgets/ButtonEdit.h"

namespace trevo::gui {

class DirectoryEdit : public ButtonEdit {
    Q_OBJECT

  public:
    explicit DirectoryEdit(QWidget* parent = nullptr);

    void setDialogTitle(const QString& title) { dialogTitle_ = title; }
    QString dialogTitle() const { return dialogTitle_; }

    // Where the chooser opens: the directory in the box when it exists, otherwise the nearest
    // of its parents that does; the home folder for an empty box.
    QString startDirectory() const;

    // The folder chooser; a chosen folder replaces the text.
    void browse() override;

  private:
    QString dialogTitle_;
};

}  // namespace trevo::gui

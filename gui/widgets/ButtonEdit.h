#pragma once
// A single-line box with a browse button at its right end, the common part of the directory and
// file-name boxes. The box carries the control's name; its text is the Qt property "text", through
// which the settings layer stores and restores it.

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace trevo::gui {

class ButtonEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)

  public:
    explicit ButtonEdit(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* browseButton() const { return button_; }

    // Opens the chooser; what it does with the choice is the subclass's business.
    virtual void browse() = 0;

  signals:
    void textChanged(const QString& text);
    // The keyboard focus moved from the box to another control. Not emitted when only the
    // window lost its activation (a dialog opened, another program was chosen).
    void exited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* edit_;
    QToolButton* button_;
};

}  // namespace trevo::gui

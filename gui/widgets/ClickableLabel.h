#pragma once
// A label that reports a click of the left mouse button.

#include <QLabel>

namespace trevo::gui {

class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace trevo::gui

#pragma once
// A one-line label whose text is shortened to the label's width with "…" (keeping a start of it
// whole), never cut at the edge; the whole text is its tooltip and its accessible description.

#include <QLabel>
#include <QString>
#include <cstddef>

namespace trevo::gui {

class FittedLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString fullText READ FullText)

  public:
    explicit FittedLabel(QWidget* parent = nullptr);

    // `keptWhole`: UTF-8 bytes at the start of `text` kept whole when it is shortened.
    void SetFullText(const QString& text, std::size_t keptWhole = 0);
    const QString& FullText() const { return fullText_; }
    // True while the label shows less than its whole text.
    bool IsShortened() const { return text() != fullText_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void Fit();

    QString fullText_;
    std::size_t keptWhole_ = 0;
};

}  // namespace trevo::gui

#include "gui/widgets/FittedLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

#include "desktop/TextFit.h"

namespace trevo::gui {

FittedLabel::FittedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // The label takes the room it is given; its text adapts, not the layout.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(0);
}

void FittedLabel::SetFullText(const QString& text, std::size_t keptWhole) {
    fullText_ = text;
    keptWhole_ = keptWhole;
    setToolTip(fullText_);
    setAccessibleDescription(fullText_);
    Fit();
}

void FittedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void FittedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        Fit();
    }
}

void FittedLabel::Fit() {
    const QFontMetrics metrics = fontMetrics();
    const auto measure = [&metrics](std::string_view utf8) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    };
    const int room = contentsRect().width() - 2 * margin() - 2 * std::max(0, indent());
    const std::string shown =
        desktop::FitToWidth(fullText_.toStdString(), keptWhole_, std::max(0, room), measure);
    setText(QString::fromStdString(shown));
}

}  // namespace trevo::gui

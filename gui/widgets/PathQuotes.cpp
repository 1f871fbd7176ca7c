#include "gui/widgets/PathQuotes.h"

#include "desktop/PathQuotes.h"

namespace trevo::gui {

QString QuotePathWithSpaces(const QString& path) {
    return QString::fromStdString(desktop::QuotePathWithSpaces(path.toStdString()));
}

QString UnquotePath(const QString& text) {
    return QString::fromStdString(desktop::UnquotePath(text.toStdString()));
}

}  // namespace trevo::gui

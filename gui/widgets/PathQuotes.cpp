#include "gui/widgets/PathQuotes.h"

namespace trevo::gui {

QString QuotePathWithSpaces(const QString& path) {
    if (path.contains(u' ') && !path.startsWith(u'"')) {
        return u'"' + path + u'"';
    }
    return path;
}

QString UnquotePath(const QString& text) {
    QString result = text;
    if (result.startsWith(u'"')) {
        result.remove(0, 1);
    }
    if (result.endsWith(u'"')) {
        result.chop(1);
    }
    return result;
}

}  // namespace trevo::gui

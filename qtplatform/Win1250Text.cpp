#include "qtplatform/Win1250Text.h"

#include <QList>
#include <QStringDecoder>

#include "engine/text/Win1250.h"

namespace trevo::gui {

QString QStringFromWin1250(std::string_view bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string Win1250FromQString(const QString& text) {
    // The toolkit's encoder writes byte 26 for a character it cannot map, which would read as
    // the end of a text file; the engine's table gives '?' instead.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t codePoint : text.toUcs4()) {
        const auto byte = text::CodePointToWin1250(codePoint);
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
}

}  // namespace trevo::gui

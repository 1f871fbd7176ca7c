#include "desktop/Win1250Boundary.h"

#include "engine/text/Win1250.h"

namespace trevo::desktop {

std::string Win1250OrQuestionMarks(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto codePoint = text::DecodeUtf8(utf8, pos);
        if (!codePoint) {
            ++pos;
            bytes += '?';
            continue;
        }
        const auto byte = text::CodePointToWin1250(*codePoint);
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
}

}  // namespace trevo::desktop

#include "cli/WideText.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace trevo::cli {

std::string WideToUtf8(std::wstring_view wide) {
    std::string utf8;
    // Piece by piece: the calls take an int length.
    constexpr std::size_t kPiece = INT_MAX / 4;
    while (!wide.empty()) {
        std::size_t piece = std::min(wide.size(), kPiece);
        if (piece < wide.size() && IS_HIGH_SURROGATE(wide[piece - 1])) {
            --piece;  // a pair stays whole
        }
        const int size = static_cast<int>(piece);
        const int needed =
            ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
        const std::size_t at = utf8.size();
        utf8.resize(at + static_cast<std::size_t>(needed));
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data() + at, needed, nullptr,
                              nullptr);
        wide.remove_prefix(static_cast<std::size_t>(size));
    }
    return utf8;
}

std::wstring Utf8ToWide(std::string_view utf8) {
    std::wstring wide;
    constexpr std::size_t kPiece = INT_MAX / 4;
    while (!utf8.empty()) {
        std::size_t piece = std::min(utf8.size(), kPiece);
        while (piece < utf8.size() && (static_cast<unsigned char>(utf8[piece]) & 0xC0) == 0x80) {
            --piece;  // a character stays whole
        }
        const int size = static_cast<int>(piece);
        const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
        const std::size_t at = wide.size();
        wide.resize(at + static_cast<std::size_t>(needed));
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data() + at, needed);
        utf8.remove_prefix(static_cast<std::size_t>(size));
    }
    return wide;
}

}  // namespace trevo::cli

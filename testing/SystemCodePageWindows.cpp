#include <windows.h>

#include <string>

#include "testing/SystemCodePage.h"

namespace trevo::testing {

namespace {

UINT Number(SystemCodePage codePage) {
    switch (codePage) {
        case SystemCodePage::Windows1250:
            return 1250;
        case SystemCodePage::Cp852:
            return 852;
        default:
            return 28592;
    }
}

std::optional<std::wstring> ToWide(const std::string& bytes, UINT codePage) {
    const int size = static_cast<int>(bytes.size());
    const int length =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
    return wide;
}

std::optional<std::string> FromWide(const std::wstring& wide, UINT codePage) {
    const int size = static_cast<int>(wide.size());
    // Code pages 65000 and up take no default character.
    const bool strict = codePage != CP_UTF8;
    BOOL lossy = FALSE;
    const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
    const int length = ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0,
                                             nullptr, strict ? &lossy : nullptr);
    if (length <= 0 || lossy) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr,
                          nullptr);
    return bytes;
}

}  // namespace

std::optional<std::string> SystemDecode(const std::string& bytes, SystemCodePage codePage) {
    if (bytes.empty()) {
        return std::string();
    }
    const auto wide = ToWide(bytes, Number(codePage));
    return wide ? FromWide(*wide, CP_UTF8) : std::nullopt;
}

std::optional<std::string> SystemEncode(const std::string& utf8, SystemCodePage codePage) {
    if (utf8.empty()) {
        return std::string();
    }
    const auto wide = ToWide(utf8, CP_UTF8);
    return wide ? FromWide(*wide, Number(codePage)) : std::nullopt;
}

}  // namespace trevo::testing

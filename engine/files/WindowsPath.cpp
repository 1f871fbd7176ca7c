#include "engine/files/WindowsPath.h"

#include <windows.h>

#include <climits>

#include "engine/files/WindowsError.h"

namespace trevo::windows {

namespace {

constexpr unsigned kWin1250 = 1250;

FileResult<std::wstring> Widen(unsigned codePage, std::string_view text) {
    if (text.find('\0') != std::string_view::npos || text.size() > INT_MAX) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    if (text.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int wide =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (wide <= 0) {
        return LastError();
    }
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, result.data(),
                              wide) != wide) {
        return LastError();
    }
    return result;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kDevice = L"\\\\.\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";

}  // namespace

FileResult<std::wstring> FromWin1250(std::string_view text) {
    return Widen(kWin1250, text);
}

FileResult<std::wstring> FromUtf8(std::string_view text) {
    return Widen(CP_UTF8, text);
}

std::optional<std::string> ToWin1250(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const int narrow = ::WideCharToMultiByte(kWin1250, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                             nullptr, 0, nullptr, &lossy);
    if (narrow <= 0 || lossy) {
        return std::nullopt;
    }
    std::string result(static_cast<std::size_t>(narrow), '\0');
    if (::WideCharToMultiByte(kWin1250, WC_NO_BEST_FIT_CHARS, text.data(), length, result.data(),
                              narrow, nullptr, &lossy) != narrow ||
        lossy) {
        return std::nullopt;
    }
    return result;
}

std::string ToUtf8(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int narrow =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) {
        return {};
    }
    std::string result(static_cast<std::size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), narrow, nullptr, nullptr);
    return result;
}

FileResult<std::wstring> Extended(const std::wstring& path) {
    if (path.empty()) {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (StartsWith(path, kDevice)) {
        return path;
    }
    if (StartsWith(path, kExtended)) {
        // Taken as it stands, but for doubled separators (a period file's name adds one after
        // a directory typed with its own), which would be empty names to the system.
        std::wstring single(kExtended);
        for (std::size_t i = kExtended.size(); i < path.size(); ++i) {
            if (path[i] != L'\\' || !single.ends_with(L'\\')) {
                single += path[i];
            }
        }
        return single;
    }
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD needed =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (needed == 0) {
            return LastError();
        }
        if (needed < full.size()) {
            full.resize(needed);
            break;
        }
        full.resize(needed);
    }
    // A device name ("NUL", "COM1") comes back as "\\.\NUL": kept, and refused later as no
    // regular file.
    if (StartsWith(full, kDevice) || StartsWith(full, kExtended)) {
        return full;
    }
    if (StartsWith(full, L"\\\\")) {
        return std::wstring(kExtendedUnc) + full.substr(2);
    }
    return std::wstring(kExtended) + full;
}

FileResult<std::wstring> SystemName(std::string_view win1250Path) {
    auto wide = FromWin1250(win1250Path);
    if (!wide) {
        return wide.error();
    }
    return Extended(*wide);
}

FileResult<std::wstring> SystemNameOfUtf8(std::string_view utf8Path) {
    auto wide = FromUtf8(utf8Path);
    if (!wide) {
        return wide.error();
    }
    return Extended(*wide);
}

FileResult<std::wstring> Within(const std::wstring& directory, std::string_view win1250Name) {
    auto name = FromWin1250(win1250Name);
    if (!name) {
        return name.error();
    }
    if (name->empty() || *name == L"." || *name == L".." ||
        name->find_first_of(L"\\/:") != std::wstring::npos) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    std::wstring joined = directory;
    if (!joined.ends_with(L'\\')) {
        joined += L'\\';
    }
    return joined + *name;
}

std::wstring WithoutPrefix(const std::wstring& path) {
    if (StartsWith(path, kExtendedUnc)) {
        return L"\\\\" + path.substr(kExtendedUnc.size());
    }
    if (StartsWith(path, kExtended)) {
        return path.substr(kExtended.size());
    }
    return path;
}

}  // namespace trevo::windows

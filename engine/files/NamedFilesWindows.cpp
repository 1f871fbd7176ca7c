#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

#include "engine/files/NamedFiles.h"
#include "engine/files/WindowsError.h"
#include "engine/files/WindowsHandle.h"
#include "engine/files/WindowsPath.h"

namespace trevo {

namespace {

// UTF-16 for the calls; a name that is no valid UTF-8 becomes one no file has.
std::wstring Wide(std::string_view utf8) {
    FileResult<std::wstring> wide = windows::FromUtf8(utf8);
    return wide ? std::move(*wide) : std::wstring(L"?");
}

using windows::Handle;
using windows::LastError;

// A device the system knows by name in every directory (NUL, CON, COM1, ...), with or without
// an extension, or a name in the device namespace ("\\.\pipe\x"): a stream, never a file.
bool IsDeviceName(std::string_view path) {
    if (path.starts_with("\\\\.\\") || path.starts_with("//./")) {
        return true;
    }
    const auto separator = path.find_last_of("\\/:");
    std::string name(path.substr(separator == std::string_view::npos ? 0 : separator + 1));
    name = name.substr(0, name.find('.'));
    while (!name.empty() && (name.back() == ' ')) {
        name.pop_back();
    }
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (name == "NUL" || name == "CON" || name == "AUX" || name == "PRN" || name == "CONOUT$") {
        return true;
    }
    return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

// The name as the file system keeps it: trailing dots and blanks are dropped, so that
// "2024ORMEK.12. " names the period file "2024ORMEK.12".
std::string StoredName(std::string name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ') && name != "." &&
           name != "..") {
        name.pop_back();
    }
    return name;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {true, info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

FileIdentity IdentityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info)) {
        return {};
    }
    return IdentityOf(info);
}

std::error_code WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD wrote = 0;
        if (!::WriteFile(handle, bytes.data(), piece, &wrote, nullptr)) {
            return LastError();
        }
        if (wrote == 0) {
            return std::make_error_code(std::errc::io_error);
        }
        bytes.remove_prefix(wrote);
    }
    return {};
}

class HandleStream final : public OutputStream {
  public:
    explicit HandleStream(HANDLE handle) : handle_(handle) {}
    std::error_code Write(std::string_view bytes) override {
        return WriteAll(handle_.Get(), bytes);
    }
    std::error_code Close() override { return handle_.Close() ? std::error_code() : LastError(); }

  private:
    Handle handle_;
};

class WindowsNamedFiles final : public NamedFiles {
  public:
    NameLookup Status(const std::string& path, bool followLink) override {
        // "NAME:stream" is a stream of NAME's file (the default one is the file itself): no
        // name of a file of its own.
        if (Split(path).name.find(':') != std::string::npos) {
            return {std::make_error_code(std::errc::invalid_argument), {}};
        }
        if (IsDeviceName(path)) {
            // Opening a pipe to ask would take one of its instances; a device is one by name.
            return {{}, {NameKind::Stream, {}, false}};
        }
        const std::wstring wide = Wide(path);
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
                return {};
            }
            return {windows::ErrorFromCode(error), {}};
        }
        NameStatus status;
        const bool reparse = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        const DWORD flags =
            FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
        Handle handle(::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, flags, nullptr));
        if (!handle.IsOpen()) {
            const DWORD error = ::GetLastError();
            if (followLink && reparse &&
                (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) {
                return {};  // a link to nothing
            }
            return {windows::ErrorFromCode(error), {}};
        }
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(handle.Get(), &info)) {
            return {LastError(), {}};
        }
        const bool disk = ::GetFileType(handle.Get()) == FILE_TYPE_DISK;
        if (disk) {
            status.identity = IdentityOf(info);
        }
        if (!followLink && reparse) {
            status.kind = NameKind::Link;
        } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            status.kind = NameKind::Directory;
        } else if (disk) {
            status.kind = NameKind::RegularFile;
        } else {
            status.kind = NameKind::Stream;
        }
        status.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        return {{}, status};
    }

    FileIdentity StandardStreamIdentity(int stream) override {
        const HANDLE handle = ::GetStdHandle(stream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
            return {};
        }
        return IdentityOfHandle(handle);
    }

    std::optional<std::vector<std::string>> Names(const std::string& directory) override {
        WIN32_FIND_DATAW found{};
        const std::wstring pattern = Wide(Join(directory, "*"));
        const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        do {
            const std::wstring_view name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(windows::ToUtf8(name));
            }
        } while (::FindNextFileW(search, &found));
        const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
        ::FindClose(search);
        return complete ? std::optional(std::move(names)) : std::nullopt;
    }

    std::error_code TryOpen(const std::string& path, bool directory) override {
        Handle handle(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    directory ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
        return handle.IsOpen() ? std::error_code() : LastError();
    }

    OutputStreamOpen OpenStream(const std::string& path) override {
        const HANDLE handle =
            ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return {nullptr, LastError()};
        }
        auto stream = std::make_unique<HandleStream>(handle);
        if (::GetFileType(handle) == FILE_TYPE_DISK) {
            return {nullptr, std::make_error_code(std::errc::not_supported)};
        }
        return {std::move(stream), {}};
    }

    std::error_code ReplaceFile(const std::string& path, std::string_view bytes) override {
        const PathParts parts = Split(path);
        // A name beside the file that the ledger program never takes for its own, new for
        // this process.
        const std::wstring temporary = Wide(
            Join(parts.directory, "." + parts.name + "." + std::to_string(::GetCurrentProcessId()) +
                                      "." + std::to_string(::GetTickCount64()) + ".tmp"));
        Handle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsOpen()) {
            return LastError();
        }
        std::error_code error = WriteAll(file.Get(), bytes);
        if (!error && !::FlushFileBuffers(file.Get())) {
            error = LastError();
        }
        if (!file.Close() && !error) {
            error = LastError();
        }
        if (!error && !::MoveFileExW(temporary.c_str(), Wide(path).c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error = LastError();
        }
        if (error) {
            ::DeleteFileW(temporary.c_str());
        }
        return error;
    }

    PathParts Split(const std::string& path) const override {
        const auto separator = path.find_last_of("\\/");
        if (separator == std::string::npos) {
            // "C:name" is a name in drive C's current directory.
            if (path.size() >= 2 && path[1] == ':') {
                return {path.substr(0, 2), StoredName(path.substr(2))};
            }
            return {".", StoredName(path)};
        }
        std::string directory = path.substr(0, separator);
        // The root of a drive or the path's own root stays a root.
        if (directory.empty() || (directory.size() == 2 && directory[1] == ':')) {
            directory = path.substr(0, separator + 1);
        }
        return {directory, StoredName(path.substr(separator + 1))};
    }

    std::string Join(const std::string& directory, std::string_view name) const override {
        std::string path = directory;
        if (!path.empty() && !path.ends_with('\\') && !path.ends_with('/') &&
            !(path.size() == 2 && path[1] == ':')) {
            path += '\\';
        }
        path += name;
        return path;
    }
};

}  // namespace

NamedFiles& LocalNamedFiles() {
    static WindowsNamedFiles files;
    return files;
}

}  // namespace trevo

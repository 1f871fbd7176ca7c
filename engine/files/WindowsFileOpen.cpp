#include "engine/files/WindowsFileOpen.h"

#include <winternl.h>

#include "engine/files/WindowsError.h"

namespace trevo::windows {

namespace {

// Why an open was refused, told more exactly than the system's "access denied" where the name
// shows it. Only a hint for the message: nothing is opened on the strength of it.
std::error_code RefusalOf(const std::wstring& name, const OpenRequest& request, DWORD code) {
    if (code == ERROR_ACCESS_DENIED) {
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (request.refuseLinks && IsNameSurrogate(attributes, 0)) {
                return FileErrc::IsLink;
            }
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return FileErrc::NotRegularFile;
            }
            if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
                (request.access & (GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0) {
                return FileErrc::ReadOnly;
            }
        }
    }
    if ((code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) &&
        request.disposition == CREATE_NEW) {
        return FileErrc::Exists;
    }
    return ErrorFromCode(code);
}

}  // namespace

FileResult<Attributes> AttributesOf(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO tagged{};
    if (::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tagged, sizeof tagged)) {
        return Attributes{tagged.FileAttributes, tagged.ReparseTag};
    }
    // A file system without reparse tags: the attributes alone (an unknown tag counts as a
    // link below).
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
        return LastError();
    }
    return Attributes{basic.FileAttributes, 0};
}

std::optional<std::wstring> FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
}

bool IsNameSurrogate(DWORD attributes, DWORD reparseTag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
}

FileResult<Handle> OpenRegularFile(const std::wstring& name, const OpenRequest& request) {
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself, dangling or not, so that its target is
    // never opened (let alone created) and the check below sees the link.
    const DWORD flags = request.flags | (request.refuseLinks ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    Handle handle(::CreateFileW(name.c_str(), request.access, request.share, nullptr,
                                request.disposition, request.attributes | flags, nullptr));
    if (!handle.IsOpen()) {
        return RefusalOf(name, request, ::GetLastError());
    }
    // A device or a pipe: FILE_TYPE_CHAR, FILE_TYPE_PIPE.
    if (::GetFileType(handle.Get()) != FILE_TYPE_DISK) {
        return FileErrc::NotRegularFile;
    }
    const auto attributes = AttributesOf(handle.Get());
    if (!attributes) {
        return attributes.error();
    }
    if (request.refuseLinks && IsNameSurrogate(attributes->attributes, attributes->reparseTag)) {
        return FileErrc::IsLink;
    }
    if ((attributes->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileErrc::NotRegularFile;
    }
    // Checked here, not left to the system: a process with backup rights, or Wine run by the
    // superuser, is let through to a read-only file.
    if (request.refuseReadOnly && (attributes->attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return FileErrc::ReadOnly;
    }
    return handle;
}

FileResult<Handle> OpenDirectoryHandle(const std::wstring& name, DWORD access, DWORD share,
                                       bool refuseLinks) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (refuseLinks ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    Handle handle(
        ::CreateFileW(name.c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!handle.IsOpen()) {
        return LastError();
    }
    const auto attributes = AttributesOf(handle.Get());
    if (!attributes) {
        return attributes.error();
    }
    if (refuseLinks && IsNameSurrogate(attributes->attributes, attributes->reparseTag)) {
        return FileErrc::IsLink;
    }
    if ((attributes->attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return std::make_error_code(std::errc::not_a_directory);
    }
    return handle;
}

FileResult<std::uint64_t> FileIndex(HANDLE handle) {
    // The file system's own query, without the volume's (see above).
    IO_STATUS_BLOCK status{};
    FILE_INTERNAL_INFORMATION info{};
    if (::NtQueryInformationFile(handle, &status, &info, sizeof info, FileInternalInformation) !=
        0) {
        return std::make_error_code(std::errc::io_error);
    }
    return static_cast<std::uint64_t>(info.IndexNumber.QuadPart);
}

}  // namespace trevo::windows

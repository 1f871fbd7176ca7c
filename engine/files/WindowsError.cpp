#include "engine/files/WindowsError.h"

#include <windows.h>

namespace trevo::windows {

std::error_code ErrorFromCode(unsigned long code) {
    const auto portable = [](std::errc value) { return std::make_error_code(value); };
    switch (code) {
        case ERROR_SUCCESS:
            // A failed call that left no number is still a failure.
            return portable(std::errc::io_error);
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return portable(std::errc::no_such_file_or_directory);
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return portable(std::errc::permission_denied);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return portable(std::errc::no_space_on_device);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return portable(std::errc::file_exists);
        case ERROR_WRITE_PROTECT:
            return portable(std::errc::read_only_file_system);
        case ERROR_FILENAME_EXCED_RANGE:
            return portable(std::errc::filename_too_long);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_PARAMETER:
            return portable(std::errc::invalid_argument);
        case ERROR_DIRECTORY:
            return portable(std::errc::not_a_directory);
        case ERROR_DIR_NOT_EMPTY:
            return portable(std::errc::directory_not_empty);
        case ERROR_TOO_MANY_OPEN_FILES:
            return portable(std::errc::too_many_files_open);
        case ERROR_NOT_READY:
        case ERROR_DEV_NOT_EXIST:
            return portable(std::errc::no_such_device);
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE:
            return portable(std::errc::io_error);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return portable(std::errc::not_enough_memory);
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
            return portable(std::errc::not_supported);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            // Another program has the file open in a way this open does not share.
            return portable(std::errc::device_or_resource_busy);
        case ERROR_NO_UNICODE_TRANSLATION:
            return portable(std::errc::illegal_byte_sequence);
        default:
            return {static_cast<int>(code), std::system_category()};
    }
}

std::error_code LastError() {
    return ErrorFromCode(::GetLastError());
}

}  // namespace trevo::windows

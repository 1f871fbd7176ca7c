#include "engine/files/WindowsRecordFile.h"

#include <algorithm>
#include <limits>

#include "engine/files/WindowsError.h"
#include "engine/files/WindowsFileOpen.h"

namespace trevo::windows {

namespace {

// The name of a file that others cannot rename is still looked up this often: a directory
// above it renamed under an emulation that allows it, a junction on its path pointed
// elsewhere, a network share's server changing names. Looking up a name costs an open, about
// as much as a hundred appends, so not before every append; records appended within the
// interval after such a change go along with the file.
constexpr unsigned long long kNameCheckIntervalMs = 500;

// One write or read call at most this much; the caller's loop does the rest.
constexpr DWORD kMaxTransfer = DWORD{1} << 30;

constexpr std::uint64_t kMaxOffset = std::numeric_limits<std::int64_t>::max();

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

}  // namespace

FileDone LockAgainstRuns(HANDLE handle) {
    OVERLAPPED at = At(kRunLockOffset);
    if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        return {};
    }
    const DWORD code = ::GetLastError();
    if (code == ERROR_LOCK_VIOLATION) {
        return FileErrc::HeldByAnotherRun;
    }
    return ErrorFromCode(code);
}

void UnlockAgainstRuns(HANDLE handle) {
    // Closing the handle releases the lock anyway; this only does it in order.
    OVERLAPPED at = At(kRunLockOffset);
    ::UnlockFileEx(handle, 0, 1, 0, &at);
}

WindowsRecordFile::WindowsRecordFile(Handle handle, std::wstring name, std::uint64_t index,
                                     NameCheck check)
    : handle_(std::move(handle)),
      name_(std::move(name)),
      index_(index),
      check_(check),
      lastNameCheck_(::GetTickCount64()) {}

WindowsRecordFile::~WindowsRecordFile() {
    if (locked_ && handle_.IsOpen()) {
        UnlockAgainstRuns(handle_.Get());
    }
}

bool WindowsRecordFile::StillNamed() const {
    // No access asked: such an open conflicts with no share mode, the ledger program's
    // included.
    Handle named(::CreateFileW(
        name_.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!named.IsOpen()) {
        return false;
    }
    const auto index = FileIndex(named.Get());
    return index && *index == index_;
}

FileResult<std::uint64_t> WindowsRecordFile::SizeInBytes() {
    if (!handle_.IsOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    const unsigned long long now = ::GetTickCount64();
    if (check_ == NameCheck::Always || now - lastNameCheck_ >= kNameCheckIntervalMs) {
        lastNameCheck_ = now;
        if (!StillNamed()) {
            return FileErrc::NameMoved;
        }
    }
    // Taken afresh at every call: the ledger program may append meanwhile.
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_.Get(), &size)) {
        return LastError();
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

FileDone WindowsRecordFile::Seek(std::uint64_t offset) {
    // Kept here and handed to one positioned write, as nothing else uses the handle's own
    // position.
    if (!handle_.IsOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (offset > kMaxOffset) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    offset_ = offset;
    return {};
}

FileResult<std::size_t> WindowsRecordFile::Write(const void* data, std::size_t size) {
    if (!handle_.IsOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    OVERLAPPED at = At(offset_);
    DWORD written = 0;
    const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, kMaxTransfer));
    if (!::WriteFile(handle_.Get(), data, asked, &written, &at) && written == 0) {
        return LastError();
    }
    if (written == 0 && size > 0) {
        return std::make_error_code(std::errc::io_error);
    }
    offset_ += written;
    return static_cast<std::size_t>(written);
}

FileDone WindowsRecordFile::Close() {
    if (locked_ && handle_.IsOpen()) {
        UnlockAgainstRuns(handle_.Get());
        locked_ = false;
    }
    if (!handle_.Close()) {
        return LastError();
    }
    return {};
}

FileDone WindowsRecordFile::LockAgainstOtherRuns() {
    if (!handle_.IsOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    // Asked again, Windows would refuse the range this handle holds already.
    if (locked_) {
        return {};
    }
    FileDone locked = LockAgainstRuns(handle_.Get());
    locked_ = locked.ok();
    return locked;
}

FileResult<std::size_t> WindowsRecordFile::ReadAt(std::uint64_t offset, void* buffer,
                                                  std::size_t size) {
    if (!handle_.IsOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at = At(offset + done);
        DWORD got = 0;
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size - done, kMaxTransfer));
        if (!::ReadFile(handle_.Get(), static_cast<char*>(buffer) + done, asked, &got, &at)) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_HANDLE_EOF) {
                break;
            }
            return ErrorFromCode(code);
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

FileDone WindowsRecordFile::Truncate(std::uint64_t size) {
    if (!handle_.IsOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (size > kMaxOffset) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(handle_.Get(), FileEndOfFileInfo, &end, sizeof end)) {
        return LastError();
    }
    return {};
}

FileDone WindowsRecordFile::Sync() {
    if (!handle_.IsOpen()) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (!::FlushFileBuffers(handle_.Get())) {
        return LastError();
    }
    return {};
}

}  // namespace trevo::windows

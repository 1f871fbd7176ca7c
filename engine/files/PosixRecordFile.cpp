#include "engine/files/PosixRecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "engine/files/PosixFileCalls.h"

namespace trevo {

namespace {

constexpr off_t kMaxOffset = std::numeric_limits<off_t>::max();

std::error_code NotOpen() {
    return std::make_error_code(std::errc::bad_file_descriptor);
}

}  // namespace

FileDone LockWholeFile(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        return {};
    }
    // Another open of the file holds it: another run of this system.
    if (errno == EAGAIN || errno == EACCES) {
        return FileErrc::HeldByAnotherRun;
    }
    return LastError();
}

PosixRecordFile::PosixRecordFile(int fd, std::string nativePath, const struct stat& opened)
    : fd_(fd), nativePath_(std::move(nativePath)), opened_(opened), watch_(nativePath_) {}

FileResult<std::uint64_t> PosixRecordFile::SizeInBytes() {
    if (!fd_.IsOpen()) {
        return NotOpen();
    }
    // The file must still be the one under its name. The name is looked up again only when
    // something along its path was renamed or removed since the last look. A rename between
    // this check and the write sends that one record along with the file; the next append
    // reports it.
    if (!watch_.Quiet() && !StillNamed()) {
        return FileErrc::NameMoved;
    }
    // The size from the end of the file, as the record count must be taken afresh: the ledger
    // program may append meanwhile. Not fstat: a query of the file's times makes the system
    // stamp the next write with a fine-grained time, which dirties the inode on every append
    // and doubles its cost.
    const off_t end = ::lseek(fd_.Get(), 0, SEEK_END);
    if (end < 0) {
        return LastError();
    }
    return static_cast<std::uint64_t>(end);
}

// Only the type and the inode are asked for, for the same reason as above.
bool PosixRecordFile::StillNamed() const {
    struct statx named {};
    return ::statx(AT_FDCWD, nativePath_.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_INO,
                   &named) == 0 &&
           named.stx_ino == opened_.st_ino &&
           ::makedev(named.stx_dev_major, named.stx_dev_minor) == opened_.st_dev;
}

FileDone PosixRecordFile::Seek(std::uint64_t offset) {
    // The position is kept here and handed to one positioned write: nothing else uses the
    // descriptor's own position, and the append costs one system call less.
    if (!fd_.IsOpen()) {
        return NotOpen();
    }
    if (offset > static_cast<std::uint64_t>(kMaxOffset)) {
        return std::make_error_code(std::errc::value_too_large);
    }
    offset_ = offset;
    return {};
}

FileResult<std::size_t> PosixRecordFile::Write(const void* data, std::size_t size) {
    if (!fd_.IsOpen()) {
        return NotOpen();
    }
    ssize_t written;
    do {
        written = ::pwrite(fd_.Get(), data, size, static_cast<off_t>(offset_));
    } while (written < 0 && errno == EINTR);
    if (written < 0) {
        return LastError();
    }
    offset_ += static_cast<std::uint64_t>(written);
    return static_cast<std::size_t>(written);
}

FileDone PosixRecordFile::Close() {
    if (!fd_.Close()) {
        return LastError();
    }
    return {};
}

FileDone PosixRecordFile::LockAgainstOtherRuns() {
    if (!fd_.IsOpen()) {
        return NotOpen();
    }
    return LockWholeFile(fd_.Get());
}

FileResult<std::size_t> PosixRecordFile::ReadAt(std::uint64_t offset, void* buffer,
                                                std::size_t size) {
    if (!fd_.IsOpen()) {
        return NotOpen();
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd_.Get(), static_cast<char*>(buffer) + done, size - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return LastError();
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

FileDone PosixRecordFile::Truncate(std::uint64_t size) {
    if (!fd_.IsOpen()) {
        return NotOpen();
    }
    if (size > static_cast<std::uint64_t>(kMaxOffset)) {
        return std::make_error_code(std::errc::file_too_large);
    }
    if (::ftruncate(fd_.Get(), static_cast<off_t>(size)) != 0) {
        return LastError();
    }
    return {};
}

FileDone PosixRecordFile::Sync() {
    if (!fd_.IsOpen()) {
        return NotOpen();
    }
    if (::fsync(fd_.Get()) != 0) {
        return LastError();
    }
    return {};
}

}  // namespace trevo

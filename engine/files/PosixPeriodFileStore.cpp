#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/files/PosixFileCalls.h"
#include "engine/files/PosixFileSystem.h"
#include "engine/files/PosixInputFile.h"
#include "engine/files/PosixRecordFile.h"

namespace trevo {

namespace {

// A regular file opened for reading and writing with `flags` besides, never through a link
// at its name. A read-only file is refused when asked, even to the superuser, as the ledger
// program's own platform would refuse it.
FileResult<std::unique_ptr<PosixRecordFile>> OpenRecordFile(const std::string& path, int flags,
                                                            bool refuseReadOnly) {
    std::string native = NativePath(path);
    auto opened =
        OpenRegular(AT_FDCWD, native, flags | O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (!opened) {
        return opened.error();
    }
    if (refuseReadOnly && NoWritePermission(opened->info.st_mode)) {
        return FileErrc::ReadOnly;
    }
    if (!ClearNonBlocking(opened->fd.Get())) {
        return LastError();
    }
    return std::make_unique<PosixRecordFile>(opened->fd.Release(), std::move(native), opened->info);
}

FileResult<std::unique_ptr<RecordFile>> AsRecordFile(
    FileResult<std::unique_ptr<PosixRecordFile>> opened) {
    if (!opened) {
        return opened.error();
    }
    return std::unique_ptr<RecordFile>(*std::move(opened));
}

}  // namespace

FileResult<std::unique_ptr<RecordFile>> PosixFileSystem::OpenOrCreateRecordFile(
    const std::string& path) {
    // O_CREAT without O_TRUNC: a file another program creates meanwhile is kept, never
    // emptied. O_NOFOLLOW: a link in the period file's place is refused, dangling or not, and
    // its target never touched (the ledger directory itself may be a link). O_NONBLOCK only
    // keeps a special file from stalling the open.
    auto opened = OpenRecordFile(path, O_CREAT, /*refuseReadOnly=*/true);
    if (!opened) {
        return opened.error();
    }
    // The watch began after the open: a rename in between is found here.
    if (!(*opened)->StillNamed()) {
        return FileErrc::NameMoved;
    }
    return AsRecordFile(std::move(opened));
}

FileResult<std::unique_ptr<RecordFile>> PosixFileSystem::OpenExistingRecordFile(
    const std::string& path) {
    return AsRecordFile(OpenRecordFile(path, 0, /*refuseReadOnly=*/true));
}

FileResult<std::unique_ptr<RecordFile>> PosixFileSystem::CreateNewRecordFile(
    const std::string& path) {
    // O_EXCL refuses whatever stands at the name, a symbolic link included.
    return AsRecordFile(OpenRecordFile(path, O_CREAT | O_EXCL, /*refuseReadOnly=*/false));
}

// POSIX has no share modes: others may read and write a file opened here for reading, so one
// open serves the export and record files alike.
FileResult<std::unique_ptr<InputFile>> PosixFileSystem::OpenForReading(const std::string& path) {
    return OpenRegularForReading(AT_FDCWD, NativePath(path), 0);
}

FileResult<std::unique_ptr<InputFile>> PosixFileSystem::OpenRecordFileForReading(
    const std::string& path) {
    return OpenForReading(path);
}

FileResult<std::unique_ptr<InputFile>> PosixFileSystem::OpenPeriodFileForReading(
    const std::string& path) {
    return OpenRegularForReading(AT_FDCWD, NativePath(path), O_NOFOLLOW);
}

FileResult<std::unique_ptr<FileLock>> PosixFileSystem::LockRecordFile(const std::string& path) {
    auto opened =
        OpenRegular(AT_FDCWD, NativePath(path), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (!opened) {
        return opened.error();
    }
    if (FileDone locked = LockWholeFile(opened->fd.Get()); !locked) {
        return locked.error();
    }
    return std::unique_ptr<FileLock>(std::make_unique<PosixFileLock>(opened->fd.Release()));
}

FileDone PosixFileSystem::RemoveOpenFile(const std::string& path, RecordFile& open) {
    const auto* posix = dynamic_cast<PosixRecordFile*>(&open);
    if (posix == nullptr) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    struct stat info {};
    const std::string native = NativePath(path);
    if (::lstat(native.c_str(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode) || info.st_dev != posix->Identity().first ||
        info.st_ino != posix->Identity().second) {
        return FileErrc::NameMoved;
    }
    if (::unlink(native.c_str()) != 0) {
        return LastError();
    }
    return {};
}

FileDone PosixFileSystem::RemoveFile(const std::string& path) {
    if (::unlink(NativePath(path).c_str()) != 0) {
        return LastError();
    }
    return {};
}

}  // namespace trevo

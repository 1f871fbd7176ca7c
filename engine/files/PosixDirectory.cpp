#include "engine/files/PosixDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>  // renameat2

#include "engine/files/PosixFileCalls.h"
#include "engine/files/PosixInputFile.h"
#include "engine/files/PosixRecordFile.h"

namespace trevo {

FileResult<std::vector<std::string>> PosixDirectory::List() {
    // The listing gets its own descriptor, so that this one keeps no read position.
    Descriptor listed(::openat(fd_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listed.IsOpen()) {
        return LastError();
    }
    DIR* dir = ::fdopendir(listed.Get());
    if (dir == nullptr) {
        return LastError();
    }
    listed.Release();  // the DIR owns it now
    return NamesIn(dir);
}

FileResult<std::unique_ptr<Directory>> PosixDirectory::OpenDirectory(const std::string& name,
                                                                     bool create) {
    const std::string native = NativePath(name);
    if (create && ::mkdirat(fd_.Get(), native.c_str(), 0777) != 0 && errno != EEXIST) {
        return LastError();
    }
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const int fd = ::openat(fd_.Get(), native.c_str(), flags);
    if (fd < 0) {
        return OpenError(fd_.Get(), native, flags);
    }
    return std::unique_ptr<Directory>(
        std::make_unique<PosixDirectory>(fd, nativePath_ + "/" + native));
}

FileResult<std::unique_ptr<InputFile>> PosixDirectory::OpenForReading(const std::string& name) {
    return OpenRegularForReading(fd_.Get(), NativePath(name), O_NOFOLLOW);
}

FileResult<std::unique_ptr<RecordFile>> PosixDirectory::CreateNewFile(const std::string& name) {
    const std::string native = NativePath(name);
    const int flags = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    Descriptor fd(::openat(fd_.Get(), native.c_str(), flags, 0666));
    if (!fd.IsOpen()) {
        return OpenError(fd_.Get(), native, flags);
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        return LastError();
    }
    return std::unique_ptr<RecordFile>(
        std::make_unique<PosixRecordFile>(fd.Release(), nativePath_ + "/" + native, info));
}

FileDone PosixDirectory::Remove(const std::string& name) {
    if (::unlinkat(fd_.Get(), NativePath(name).c_str(), 0) != 0) {
        return LastError();
    }
    return {};
}

FileDone PosixDirectory::Rename(const std::string& from, const std::string& to) {
    if (::renameat2(fd_.Get(), NativePath(from).c_str(), fd_.Get(), NativePath(to).c_str(),
                    RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) {
            return FileErrc::Exists;
        }
        return LastError();
    }
    return {};
}

bool PosixDirectory::MayChangeName(const std::string& name) {
    struct stat directory {};
    if (::faccessat(fd_.Get(), ".", W_OK | X_OK, AT_EACCESS) != 0 ||
        ::fstat(fd_.Get(), &directory) != 0) {
        return false;
    }
    const uid_t user = ::geteuid();
    if ((directory.st_mode & S_ISVTX) == 0 || user == 0 || directory.st_uid == user) {
        return true;
    }
    struct stat file {};
    return ::fstatat(fd_.Get(), NativePath(name).c_str(), &file, AT_SYMLINK_NOFOLLOW) == 0 &&
           file.st_uid == user;
}

FileDone PosixDirectory::Sync() {
    if (::fsync(fd_.Get()) != 0) {
        return LastError();
    }
    return {};
}

}  // namespace trevo

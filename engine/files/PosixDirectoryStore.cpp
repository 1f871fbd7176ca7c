#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "engine/files/PosixDirectory.h"
#include "engine/files/PosixFileCalls.h"
#include "engine/files/PosixFileSystem.h"

namespace trevo {

bool PosixFileSystem::FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixFileSystem::DirectoryExists(const std::string& path) {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FileResult<std::unique_ptr<Directory>> PosixFileSystem::OpenDirectory(const std::string& path) {
    std::string native = NativePath(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return LastError();
    }
    return std::unique_ptr<Directory>(std::make_unique<PosixDirectory>(fd, std::move(native)));
}

FileDone PosixFileSystem::MakeDirectory(const std::string& path) {
    const std::string native = NativePath(path);
    if (::mkdir(native.c_str(), 0777) != 0 && errno != EEXIST) {
        return LastError();
    }
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0) {
        return LastError();
    }
    if (S_ISLNK(info.st_mode)) {
        return FileErrc::IsLink;
    }
    if (!S_ISDIR(info.st_mode)) {
        return std::make_error_code(std::errc::not_a_directory);
    }
    return {};
}

FileResult<std::vector<std::string>> PosixFileSystem::ListDirectory(const std::string& path) {
    DIR* dir = ::opendir(NativePath(path).c_str());
    if (dir == nullptr) {
        return LastError();
    }
    return NamesIn(dir);
}

}  // namespace trevo

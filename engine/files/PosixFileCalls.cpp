#include "engine/files/PosixFileCalls.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "engine/files/FileResult.h"
#include "engine/text/Win1250.h"

namespace trevo {

std::string NativePath(const std::string& path) {
    return text::Win1250ToUtf8(path);
}

std::error_code LastError() {
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(std::errc::io_error);
}

std::error_code OpenError(int dir, const std::string& nativeName, int flags) {
    const std::error_code error = LastError();
    if ((flags & O_EXCL) != 0 && error == std::errc::file_exists) {
        return FileErrc::Exists;
    }
    // A link at the name gives ELOOP, or ENOTDIR when a directory was asked for; both also
    // stand for other faults along the path, so the name itself is looked at.
    struct stat info {};
    if ((flags & O_NOFOLLOW) != 0 &&
        (error == std::errc::too_many_symbolic_link_levels ||
         error == std::errc::not_a_directory) &&
        ::fstatat(dir, nativeName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(info.st_mode)) {
        return FileErrc::IsLink;
    }
    return error;
}

FileResult<OpenRegularFile> OpenRegular(int dir, const std::string& nativeName, int flags) {
    Descriptor fd(::openat(dir, nativeName.c_str(), flags, 0666));
    if (!fd.IsOpen()) {
        return OpenError(dir, nativeName, flags);
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode)) {
        return FileErrc::NotRegularFile;
    }
    return OpenRegularFile{std::move(fd), info};
}

bool NoWritePermission(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool ClearNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

std::vector<std::string> NamesIn(DIR* dir) {
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        // Back to the engine's Windows-1250; a name it cannot hold is no file of the ledger.
        if (auto converted = text::Utf8ToWin1250(name)) {
            names.push_back(std::move(*converted));
        }
    }
    ::closedir(dir);
    return names;
}

}  // namespace trevo

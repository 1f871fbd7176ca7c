#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "engine/files/PosixDescriptor.h"
#include "engine/files/PosixFileCalls.h"
#include "engine/files/PosixFileSystem.h"

namespace trevo {

namespace {

class PosixOutputFile final : public OutputFile {
  public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}

    FileDone Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_.Get(), bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return LastError();
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return {};
    }

    FileDone Sync() override {
        if (::fsync(fd_.Get()) != 0) {
            return LastError();
        }
        return {};
    }

    FileDone Close() override {
        if (!fd_.Close()) {
            return LastError();
        }
        return {};
    }

  private:
    Descriptor fd_;
};

}  // namespace

bool PosixFileSystem::IsReadOnlyFile(const SystemPath& path) {
    struct stat info {};
    return ::stat(path.name.c_str(), &info) == 0 && NoWritePermission(info.st_mode);
}

FileResult<std::string> PosixFileSystem::ReadWholeFile(const SystemPath& path) {
    Descriptor fd(::open(path.name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0) {
        return LastError();
    }
    if (S_ISDIR(info.st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (!S_ISREG(info.st_mode) || !ClearNonBlocking(fd.Get())) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return LastError();
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

PathKind PosixFileSystem::Inspect(const SystemPath& path) {
    struct stat info {};
    PathKind kind;
    if (::lstat(path.name.c_str(), &info) != 0) {
        return kind;
    }
    kind.exists = true;
    kind.isLink = S_ISLNK(info.st_mode);
    if (kind.isLink && ::stat(path.name.c_str(), &info) != 0) {
        return kind;  // a dangling link
    }
    kind.isDirectory = S_ISDIR(info.st_mode);
    kind.permissions = static_cast<unsigned>(info.st_mode & 0777);
    return kind;
}

FileResult<SystemPath> PosixFileSystem::LinkTarget(const SystemPath& path) {
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(path.name.c_str(), target.data(), target.size());
    if (n < 0) {
        return LastError();
    }
    if (static_cast<std::size_t>(n) >= target.size()) {
        return std::make_error_code(std::errc::filename_too_long);
    }
    target.resize(static_cast<std::size_t>(n));
    const auto slash = path.name.rfind('/');
    if (!target.starts_with('/') && slash != std::string::npos) {
        target.insert(0, path.name, 0, slash + 1);
    }
    return SystemPath{target};
}

FileDone PosixFileSystem::CreateDirectories(const SystemPath& path) {
    std::error_code error;
    std::filesystem::create_directories(path.name, error);
    if (error) {
        return error;
    }
    return {};
}

FileResult<std::unique_ptr<OutputFile>> PosixFileSystem::CreateNewFile(
    const SystemPath& path, std::optional<unsigned> permissions) {
    Descriptor fd(
        ::open(path.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.IsOpen()) {
        return LastError();
    }
    if (permissions && ::fchmod(fd.Get(), static_cast<mode_t>(*permissions & 07777)) != 0) {
        const std::error_code error = LastError();
        ::unlink(path.name.c_str());
        return error;
    }
    return std::unique_ptr<OutputFile>(std::make_unique<PosixOutputFile>(fd.Release()));
}

FileResult<std::unique_ptr<OutputFile>> PosixFileSystem::OpenForOverwrite(const SystemPath& path) {
    Descriptor fd(::open(path.name.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode) || !ClearNonBlocking(fd.Get())) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    return std::unique_ptr<OutputFile>(std::make_unique<PosixOutputFile>(fd.Release()));
}

FileDone PosixFileSystem::Rename(const SystemPath& from, const SystemPath& to) {
    if (::rename(from.name.c_str(), to.name.c_str()) != 0) {
        return LastError();
    }
    return {};
}

FileDone PosixFileSystem::Remove(const SystemPath& path) {
    if (::unlink(path.name.c_str()) != 0) {
        return LastError();
    }
    return {};
}

FileDone PosixFileSystem::SyncDirectory(const SystemPath& path) {
    Descriptor fd(::open(path.name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.IsOpen() || ::fsync(fd.Get()) != 0 || !fd.Close()) {
        return LastError();
    }
    return {};
}

}  // namespace trevo

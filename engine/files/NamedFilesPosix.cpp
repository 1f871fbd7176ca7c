#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "engine/files/NamedFiles.h"
#include "engine/files/PosixFileCalls.h"

namespace trevo {

namespace {

NameKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return NameKind::RegularFile;
    }
    if (S_ISDIR(mode)) {
        return NameKind::Directory;
    }
    if (S_ISCHR(mode) || S_ISFIFO(mode)) {
        return NameKind::Stream;
    }
    return S_ISLNK(mode) ? NameKind::Link : NameKind::Other;
}

std::error_code WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return wrote < 0 ? LastError() : std::make_error_code(std::errc::io_error);
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return {};
}

class DescriptorStream final : public OutputStream {
  public:
    explicit DescriptorStream(int fd) : fd_(fd) {}
    DescriptorStream(const DescriptorStream&) = delete;
    DescriptorStream& operator=(const DescriptorStream&) = delete;
    ~DescriptorStream() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    std::error_code Write(std::string_view bytes) override { return WriteAll(fd_, bytes); }
    std::error_code Close() override {
        return ::close(std::exchange(fd_, -1)) == 0 ? std::error_code() : LastError();
    }

  private:
    int fd_;
};

class PosixNamedFiles final : public NamedFiles {
  public:
    NameLookup Status(const std::string& path, bool followLink) override {
        struct stat info {};
        const int got = followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
        if (got != 0) {
            if (errno == ENOENT) {
                return {};
            }
            return {LastError(), {}};
        }
        return {{},
                {KindOf(info.st_mode),
                 FileIdentity{true, static_cast<std::uint64_t>(info.st_dev),
                              static_cast<std::uint64_t>(info.st_ino)},
                 NoWritePermission(info.st_mode)}};
    }

    FileIdentity StandardStreamIdentity(int stream) override {
        struct stat info {};
        if (::fstat(stream, &info) != 0) {
            return {};
        }
        return FileIdentity{true, static_cast<std::uint64_t>(info.st_dev),
                            static_cast<std::uint64_t>(info.st_ino)};
    }

    std::optional<std::vector<std::string>> Names(const std::string& directory) override {
        DIR* dir = ::opendir(directory.c_str());
        if (dir == nullptr) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") {
                names.emplace_back(name);
            }
        }
        ::closedir(dir);
        return names;
    }

    std::error_code TryOpen(const std::string& path, bool directory) override {
        const int fd =
            ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (directory ? O_DIRECTORY : 0));
        if (fd < 0) {
            return LastError();
        }
        ::close(fd);
        return {};
    }

    OutputStreamOpen OpenStream(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            return {nullptr, LastError()};
        }
        auto stream = std::make_unique<DescriptorStream>(fd);
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || KindOf(opened.st_mode) != NameKind::Stream) {
            return {nullptr, std::make_error_code(std::errc::not_supported)};
        }
        return {std::move(stream), {}};
    }

    std::error_code ReplaceFile(const std::string& path, std::string_view bytes) override {
        struct stat old {};
        const mode_t mode = ::lstat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
        // A hidden name beside the file: never one the ledger program could take for its own.
        const PathParts parts = Split(path);
        std::string name = Join(parts.directory, "." + parts.name + ".XXXXXX");
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            return LastError();
        }
        std::error_code error = ::fchmod(fd, mode) == 0 ? std::error_code() : LastError();
        if (!error) {
            error = WriteAll(fd, bytes);
        }
        if (!error && ::fsync(fd) != 0) {
            error = LastError();
        }
        if (::close(fd) != 0 && !error) {
            error = LastError();
        }
        if (!error && ::rename(name.c_str(), path.c_str()) != 0) {
            error = LastError();
        }
        if (error) {
            ::unlink(name.c_str());
        }
        return error;
    }

    PathParts Split(const std::string& path) const override {
        const auto slash = path.find_last_of('/');
        if (slash == std::string::npos) {
            return {".", path};
        }
        return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
    }

    std::string Join(const std::string& directory, std::string_view name) const override {
        std::string path = directory;
        if (!path.ends_with('/')) {
            path += '/';
        }
        path += name;
        return path;
    }
};

}  // namespace

NamedFiles& LocalNamedFiles() {
    static PosixNamedFiles files;
    return files;
}

}  // namespace trevo

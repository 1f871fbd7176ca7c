#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>  // renameat2
#include <filesystem>
#include <limits>

#include "engine/files/FileSystem.h"
#include "engine/files/NameWatch.h"
#include "engine/text/Win1250.h"

namespace trevo {

namespace {

// Paths reach the engine as Windows-1250 text, like every text the user types; this system
// names files in UTF-8.
std::string NativePath(const std::string& path) {
    return text::Win1250ToUtf8(path);
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// The one rule for read-only files (see FileSystem::IsReadOnlyFile).
bool NoWritePermission(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool ClearNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// The names of an open directory, without "." and ".."; closes it.
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

// Owns one descriptor.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    bool IsOpen() const { return fd_ >= 0; }
    bool Close() {
        if (fd_ < 0) {
            return true;
        }
        const int fd = fd_;
        fd_ = -1;
        // After a failed close the descriptor is gone all the same (POSIX leaves it
        // unspecified, Linux always releases it): never close it twice.
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// An exclusive open-file-description lock on the whole file; see LockOutcome.
LockOutcome LockWholeFile(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        return LockOutcome::Taken;
    }
    return errno == EAGAIN || errno == EACCES ? LockOutcome::HeldByAnotherRun : LockOutcome::Failed;
}

class PosixRecordFile final : public RecordFile {
  public:
    PosixRecordFile(int fd, std::string nativePath, const struct stat& opened)
        : fd_(fd), nativePath_(std::move(nativePath)), opened_(opened), watch_(nativePath_) {}

    std::optional<std::uint64_t> SizeInBytes() override {
        // The file must still be the one under its name. The name is looked up again only
        // when something along its path was renamed or removed since the last look. A rename
        // between this check and the write sends that one record along with the file; the next
        // append reports it.
        if (!fd_.IsOpen() || (!watch_.Quiet() && !StillNamed())) {
            return std::nullopt;
        }
        // The size from the end of the file, as the record count must be taken afresh: the
        // ledger program may append meanwhile. Not fstat: a query of the file's times makes
        // the system stamp the next write with a fine-grained time, which dirties the inode
        // on every append and doubles its cost.
        const off_t end = ::lseek(fd_.Get(), 0, SEEK_END);
        if (end < 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(end);
    }

    // The name, looked up without following a link, leads to the file open here. Only the
    // type and the inode are asked for, for the same reason as above.
    bool StillNamed() const {
        struct statx named {};
        return ::statx(AT_FDCWD, nativePath_.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_INO,
                       &named) == 0 &&
               named.stx_ino == opened_.st_ino &&
               ::makedev(named.stx_dev_major, named.stx_dev_minor) == opened_.st_dev;
    }

    bool Seek(std::uint64_t offset) override {
        // The position is kept here and handed to one positioned write: nothing else uses the
        // descriptor's own position, and the append costs one system call less.
        if (!fd_.IsOpen() || offset > static_cast<std::uint64_t>(kMaxOffset)) {
            return false;
        }
        offset_ = offset;
        return true;
    }

    std::size_t Write(const void* data, std::size_t size) override {
        if (!fd_.IsOpen()) {
            return 0;
        }
        ssize_t written;
        do {
            written = ::pwrite(fd_.Get(), data, size, static_cast<off_t>(offset_));
        } while (written < 0 && errno == EINTR);
        if (written < 0) {
            return 0;
        }
        offset_ += static_cast<std::uint64_t>(written);
        return static_cast<std::size_t>(written);
    }

    bool Close() override { return fd_.Close(); }

    LockOutcome LockAgainstOtherRuns() override {
        return fd_.IsOpen() ? LockWholeFile(fd_.Get()) : LockOutcome::Failed;
    }

    std::optional<std::size_t> ReadAt(std::uint64_t offset, void* buffer,
                                      std::size_t size) override {
        if (!fd_.IsOpen()) {
            return std::nullopt;
        }
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = ::pread(fd_.Get(), static_cast<char*>(buffer) + done, size - done,
                                        static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return std::nullopt;
            }
            if (got == 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        return done;
    }

    bool Truncate(std::uint64_t size) override {
        return fd_.IsOpen() && size <= static_cast<std::uint64_t>(kMaxOffset) &&
               ::ftruncate(fd_.Get(), static_cast<off_t>(size)) == 0;
    }

    bool Sync() override { return fd_.IsOpen() && ::fsync(fd_.Get()) == 0; }

    // The file's identity as opened, for telling whether a name still leads to it.
    std::pair<dev_t, ino_t> Identity() const { return {opened_.st_dev, opened_.st_ino}; }

  private:
    static constexpr off_t kMaxOffset = std::numeric_limits<off_t>::max();

    Descriptor fd_;
    std::string nativePath_;
    struct stat opened_;
    NameWatch watch_;
    std::uint64_t offset_ = 0;
};

class PosixFileLock final : public FileLock {
  public:
    explicit PosixFileLock(int fd) : fd_(fd) {}

  private:
    Descriptor fd_;
};

class PosixInputFile final : public InputFile {
  public:
    PosixInputFile(int fd, const struct stat& opened)
        : fd_(fd), size_(static_cast<std::uint64_t>(opened.st_size)), opened_(opened) {}

    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        ssize_t got;
        do {
            got = ::read(fd_.Get(), buffer, capacity);
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(got);
    }

    std::uint64_t SizeAtOpen() const override { return size_; }

    bool ChangedSinceOpen() override {
        struct stat now {};
        return ::fstat(fd_.Get(), &now) != 0 || now.st_size != opened_.st_size ||
               now.st_mtim.tv_sec != opened_.st_mtim.tv_sec ||
               now.st_mtim.tv_nsec != opened_.st_mtim.tv_nsec;
    }

  private:
    Descriptor fd_;
    std::uint64_t size_;
    struct stat opened_;
};

// A regular file opened for reading, relative to `dir` (AT_FDCWD for a path). Opened
// non-blocking so that a FIFO at the name cannot hang the open, then made blocking.
std::unique_ptr<InputFile> OpenRegularForReading(int dir, const std::string& name, int flags) {
    Descriptor fd(::openat(dir, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags));
    struct stat info {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !ClearNonBlocking(fd.Get())) {
        return nullptr;
    }
    return std::make_unique<PosixInputFile>(fd.Release(), info);
}

class PosixOutputFile final : public OutputFile {
  public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}

    std::error_code Write(std::string_view bytes) override {
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

    std::error_code Sync() override {
        return ::fsync(fd_.Get()) == 0 ? std::error_code() : LastError();
    }

    std::error_code Close() override { return fd_.Close() ? std::error_code() : LastError(); }

  private:
    Descriptor fd_;
};

// Names are looked up in the open directory (the *at calls), never through a link.
class PosixDirectory final : public Directory {
  public:
    PosixDirectory(int fd, std::string nativePath) : fd_(fd), nativePath_(std::move(nativePath)) {}

    std::optional<std::vector<std::string>> List() override {
        // The listing gets its own descriptor, so that this one keeps no read position.
        const int listed = ::openat(fd_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
        if (dir == nullptr) {
            if (listed >= 0) {
                ::close(listed);
            }
            return std::nullopt;
        }
        return NamesIn(dir);
    }

    std::unique_ptr<Directory> OpenDirectory(const std::string& name, bool create) override {
        const std::string native = NativePath(name);
        if (create && ::mkdirat(fd_.Get(), native.c_str(), 0777) != 0 && errno != EEXIST) {
            return nullptr;
        }
        const int fd =
            ::openat(fd_.Get(), native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            return nullptr;
        }
        return std::make_unique<PosixDirectory>(fd, nativePath_ + "/" + native);
    }

    std::unique_ptr<InputFile> OpenForReading(const std::string& name) override {
        return OpenRegularForReading(fd_.Get(), NativePath(name), O_NOFOLLOW);
    }

    std::unique_ptr<RecordFile> CreateNewFile(const std::string& name) override {
        const std::string native = NativePath(name);
        Descriptor fd(::openat(fd_.Get(), native.c_str(),
                               O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0) {
            return nullptr;
        }
        return std::make_unique<PosixRecordFile>(fd.Release(), nativePath_ + "/" + native, info);
    }

    bool Remove(const std::string& name) override {
        return ::unlinkat(fd_.Get(), NativePath(name).c_str(), 0) == 0;
    }

    bool Rename(const std::string& from, const std::string& to) override {
        return ::renameat2(fd_.Get(), NativePath(from).c_str(), fd_.Get(), NativePath(to).c_str(),
                           RENAME_NOREPLACE) == 0;
    }

    bool MayChangeName(const std::string& name) override {
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

    bool Sync() override { return ::fsync(fd_.Get()) == 0; }

  private:
    Descriptor fd_;
    std::string nativePath_;
};

class PosixFileSystem final : public FileSystem {
  public:
    bool FileExists(const std::string& path) override {
        struct stat info {};
        return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    bool DirectoryExists(const std::string& path) override {
        struct stat info {};
        return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::unique_ptr<RecordFile> OpenOrCreateRecordFile(const std::string& path) override {
        // O_CREAT without O_TRUNC: a file another program creates meanwhile is kept, never
        // emptied. O_NOFOLLOW: a link in the period file's place is refused, dangling or not,
        // and its target never touched (the ledger directory itself may be a link). O_NONBLOCK
        // only keeps a special file from stalling the open.
        std::string native = NativePath(path);
        Descriptor fd(
            ::open(native.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return nullptr;
        }
        // Never written, even by the superuser, as the ledger program's own platform would
        // refuse it.
        if (NoWritePermission(info.st_mode)) {
            return nullptr;
        }
        if (!ClearNonBlocking(fd.Get())) {
            return nullptr;
        }
        auto file = std::make_unique<PosixRecordFile>(fd.Release(), std::move(native), info);
        // The watch began after the open: a rename in between is found here.
        return file->StillNamed() ? std::move(file) : nullptr;
    }

    FileLockAttempt LockRecordFile(const std::string& path) override {
        Descriptor fd(
            ::open(NativePath(path).c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return {};
        }
        const LockOutcome outcome = LockWholeFile(fd.Get());
        if (outcome != LockOutcome::Taken) {
            return {outcome, nullptr};
        }
        return {outcome, std::make_unique<PosixFileLock>(fd.Release())};
    }

    bool IsReadOnlyFile(const SystemPath& path) override {
        struct stat info {};
        return ::stat(path.name.c_str(), &info) == 0 && NoWritePermission(info.st_mode);
    }

    WholeFileRead ReadWholeFile(const SystemPath& path) override {
        WholeFileRead result;
        Descriptor fd(::open(path.name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0) {
            result.error = LastError();
            return result;
        }
        if (S_ISDIR(info.st_mode)) {
            result.error = std::make_error_code(std::errc::is_a_directory);
            return result;
        }
        if (!S_ISREG(info.st_mode) || !ClearNonBlocking(fd.Get())) {
            result.error = std::make_error_code(std::errc::invalid_argument);
            return result;
        }
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                result.error = LastError();
                result.bytes.clear();
                return result;
            }
            if (got == 0) {
                return result;
            }
            result.bytes.append(buffer, static_cast<std::size_t>(got));
        }
    }

    PathKind Inspect(const SystemPath& path) override {
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

    std::optional<SystemPath> LinkTarget(const SystemPath& path) override {
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(path.name.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(n));
        const auto slash = path.name.rfind('/');
        if (!target.starts_with('/') && slash != std::string::npos) {
            target.insert(0, path.name, 0, slash + 1);
        }
        return SystemPath{target};
    }

    std::error_code CreateDirectories(const SystemPath& path) override {
        std::error_code error;
        std::filesystem::create_directories(path.name, error);
        return error;
    }

    OutputFileOpen CreateNewFile(const SystemPath& path,
                                 std::optional<unsigned> permissions) override {
        Descriptor fd(
            ::open(path.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd.IsOpen()) {
            return {nullptr, LastError()};
        }
        if (permissions && ::fchmod(fd.Get(), static_cast<mode_t>(*permissions & 07777)) != 0) {
            const std::error_code error = LastError();
            ::unlink(path.name.c_str());
            return {nullptr, error};
        }
        return {std::make_unique<PosixOutputFile>(fd.Release()), {}};
    }

    OutputFileOpen OpenForOverwrite(const SystemPath& path) override {
        Descriptor fd(::open(path.name.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0) {
            return {nullptr, LastError()};
        }
        if (!S_ISREG(info.st_mode) || !ClearNonBlocking(fd.Get())) {
            return {nullptr, std::make_error_code(std::errc::invalid_argument)};
        }
        return {std::make_unique<PosixOutputFile>(fd.Release()), {}};
    }

    std::error_code Rename(const SystemPath& from, const SystemPath& to) override {
        return ::rename(from.name.c_str(), to.name.c_str()) == 0 ? std::error_code() : LastError();
    }

    std::error_code Remove(const SystemPath& path) override {
        return ::unlink(path.name.c_str()) == 0 ? std::error_code() : LastError();
    }

    std::error_code SyncDirectory(const SystemPath& path) override {
        Descriptor fd(::open(path.name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd.IsOpen()) {
            return LastError();
        }
        if (::fsync(fd.Get()) != 0) {
            return LastError();
        }
        return fd.Close() ? std::error_code() : LastError();
    }

    // POSIX has no share modes: others may read and write a file opened here for reading, so
    // the interface's OpenRecordFileForReading, this same open, serves period files too.
    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
        return OpenRegularForReading(AT_FDCWD, NativePath(path), 0);
    }

    std::unique_ptr<Directory> OpenDirectory(const std::string& path) override {
        std::string native = NativePath(path);
        const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return nullptr;
        }
        return std::make_unique<PosixDirectory>(fd, std::move(native));
    }

    std::unique_ptr<InputFile> OpenPeriodFileForReading(const std::string& path) override {
        return OpenRegularForReading(AT_FDCWD, NativePath(path), O_NOFOLLOW);
    }

    std::unique_ptr<RecordFile> OpenExistingRecordFile(const std::string& path) override {
        return OpenRegular(path, O_RDWR, /*refuseReadOnly=*/true);
    }

    std::unique_ptr<RecordFile> CreateNewRecordFile(const std::string& path) override {
        // O_EXCL refuses whatever stands at the name, a symbolic link included.
        return OpenRegular(path, O_RDWR | O_CREAT | O_EXCL);
    }

    bool MakeDirectory(const std::string& path) override {
        const std::string native = NativePath(path);
        if (::mkdir(native.c_str(), 0777) != 0 && errno != EEXIST) {
            return false;
        }
        struct stat info {};
        return ::lstat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override {
        DIR* dir = ::opendir(NativePath(path).c_str());
        if (dir == nullptr) {
            return std::nullopt;
        }
        return NamesIn(dir);
    }

    bool RemoveOpenFile(const std::string& path, RecordFile& open) override {
        const auto* posix = dynamic_cast<PosixRecordFile*>(&open);
        struct stat info {};
        const std::string native = NativePath(path);
        if (posix == nullptr || ::lstat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_dev != posix->Identity().first || info.st_ino != posix->Identity().second) {
            return false;
        }
        return ::unlink(native.c_str()) == 0;
    }

    bool RemoveFile(const std::string& path) override {
        return ::unlink(NativePath(path).c_str()) == 0;
    }

  private:
    // A read-only file is refused when asked, even to the superuser, as for period files.
    static std::unique_ptr<RecordFile> OpenRegular(const std::string& path, int flags,
                                                   bool refuseReadOnly = false) {
        std::string native = NativePath(path);
        Descriptor fd(::open(native.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
            (refuseReadOnly && NoWritePermission(info.st_mode)) || !ClearNonBlocking(fd.Get())) {
            return nullptr;
        }
        return std::make_unique<PosixRecordFile>(fd.Release(), std::move(native), info);
    }
};

}  // namespace

FileSystem& LocalFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace trevo

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/files/FileSystem.h"
#include "engine/text/Win1250.h"

namespace trevo {

namespace {

// Paths reach the engine as Windows-1250 text, like every text the user types; this system
// names files in UTF-8.
std::string NativePath(const std::string& path) {
    return text::Win1250ToUtf8(path);
}

bool ClearNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
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

class PosixRecordFile final : public RecordFile {
  public:
    explicit PosixRecordFile(int fd) : fd_(fd) {}

    std::optional<std::uint64_t> SizeInBytes() override {
        struct stat info {};
        if (!fd_.IsOpen() || ::fstat(fd_.Get(), &info) != 0) {
            return std::nullopt;
        }
        // A file that lost its last name (deleted, its directory removed, or replaced by
        // another file) can still be written, but nobody will read what is appended: a record
        // booked there would be lost without a word.
        if (info.st_nlink == 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(info.st_size);
    }

    bool Seek(std::uint64_t offset) override {
        return fd_.IsOpen() && ::lseek(fd_.Get(), static_cast<off_t>(offset), SEEK_SET) ==
                                   static_cast<off_t>(offset);
    }

    std::size_t Write(const void* data, std::size_t size) override {
        if (!fd_.IsOpen()) {
            return 0;
        }
        ssize_t written;
        do {
            written = ::write(fd_.Get(), data, size);
        } while (written < 0 && errno == EINTR);
        return written < 0 ? 0 : static_cast<std::size_t>(written);
    }

    bool Close() override { return fd_.Close(); }

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
        return fd_.IsOpen() && ::ftruncate(fd_.Get(), static_cast<off_t>(size)) == 0;
    }

    bool LockAgainstOtherRuns() override {
        // An open file description lock: it belongs to this open file, so another open of the
        // same file in this process is kept off too, and it goes when the file is closed.
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0;
        lock.l_len = 0;
        return fd_.IsOpen() && ::fcntl(fd_.Get(), F_OFD_SETLK, &lock) == 0;
    }

    // The file's identity, for telling whether a name still leads to it.
    std::optional<std::pair<dev_t, ino_t>> Identity() const {
        struct stat info {};
        if (!fd_.IsOpen() || ::fstat(fd_.Get(), &info) != 0) {
            return std::nullopt;
        }
        return std::pair{info.st_dev, info.st_ino};
    }

  private:
    Descriptor fd_;
};

class PosixInputFile final : public InputFile {
  public:
    PosixInputFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}

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

  private:
    Descriptor fd_;
    std::uint64_t size_;
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
        // emptied. O_NONBLOCK only keeps a special file from stalling the open.
        Descriptor fd(
            ::open(NativePath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return nullptr;
        }
        // A file without write permission is read-only, even to the superuser: it is never
        // written, as the ledger program's own platform would refuse it.
        if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            return nullptr;
        }
        if (!ClearNonBlocking(fd.Get())) {
            return nullptr;
        }
        return std::make_unique<PosixRecordFile>(fd.Release());
    }

    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
        return OpenReadOnly(path);
    }

    // POSIX has no share modes and this system takes no locks: others may read and write the
    // file whichever way it is opened here.
    std::unique_ptr<InputFile> OpenRecordFileForReading(const std::string& path) override {
        return OpenReadOnly(path);
    }

    std::unique_ptr<RecordFile> OpenExistingRecordFile(const std::string& path) override {
        return OpenRegular(path, O_RDWR);
    }

    std::unique_ptr<RecordFile> CreateNewFile(const std::string& path) override {
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

    bool RemoveOpenFile(const std::string& path, RecordFile& open) override {
        const auto* posix = dynamic_cast<PosixRecordFile*>(&open);
        const auto identity = posix ? posix->Identity() : std::nullopt;
        struct stat info {};
        const std::string native = NativePath(path);
        if (!identity || ::lstat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_dev != identity->first || info.st_ino != identity->second) {
            return false;
        }
        return ::unlink(native.c_str()) == 0;
    }

    bool RemoveFile(const std::string& path) override {
        return ::unlink(NativePath(path).c_str()) == 0;
    }

  private:
    static std::unique_ptr<RecordFile> OpenRegular(const std::string& path, int flags) {
        Descriptor fd(
            ::open(NativePath(path).c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
            !ClearNonBlocking(fd.Get())) {
            return nullptr;
        }
        return std::make_unique<PosixRecordFile>(fd.Release());
    }

    static std::unique_ptr<InputFile> OpenReadOnly(const std::string& path) {
        Descriptor fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        struct stat info {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
            !ClearNonBlocking(fd.Get())) {
            return nullptr;
        }
        return std::make_unique<PosixInputFile>(fd.Release(),
                                                static_cast<std::uint64_t>(info.st_size));
    }
};

}  // namespace

FileSystem& LocalFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace trevo

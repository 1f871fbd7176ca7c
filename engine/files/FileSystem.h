#pragma once
// The file operations the engine needs, behind one interface so that tests can make any single
// operation fail. Failures are values; nothing here throws.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trevo {

// A file opened for reading and writing whole records. Others may read and write it meanwhile;
// no lock is taken. Destroying an open file closes it.
class RecordFile {
  public:
    virtual ~RecordFile() = default;
    // Nothing when the size cannot be taken or the file no longer has a name.
    virtual std::optional<std::uint64_t> SizeInBytes() = 0;
    virtual bool Seek(std::uint64_t offset) = 0;
    // The number of bytes the system took: one write call, never retried.
    virtual std::size_t Write(const void* data, std::size_t size) = 0;
    virtual bool Close() = 0;

    // For reading a ledger back and putting it back as it was. The defaults fail, for file
    // systems that only book.

    // Bytes read at `offset` (fewer at the end of the file), or nothing when reading failed.
    virtual std::optional<std::size_t> ReadAt(std::uint64_t offset, void* buffer,
                                              std::size_t size) {
        (void)offset, (void)buffer, (void)size;
        return std::nullopt;
    }
    // Cuts the file to `size` bytes.
    virtual bool Truncate(std::uint64_t size) {
        (void)size;
        return false;
    }
    // The lock that keeps two converter runs off one period file (advisory, exclusive, held
    // until the file is closed). False when another run holds it or it cannot be taken.
    virtual bool LockAgainstOtherRuns() { return false; }
};

// A file read from start to end.
class InputFile {
  public:
    virtual ~InputFile() = default;
    // Bytes read into `buffer` (0 at the end of the file), or nothing when reading failed.
    virtual std::optional<std::size_t> Read(char* buffer, std::size_t capacity) = 0;
    // Size at opening, for progress reports; 0 when unknown.
    virtual std::uint64_t SizeAtOpen() const = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // A regular file, or a link to one; a directory does not count.
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Opens the file keeping its contents, or creates it empty; nothing on failure.
    virtual std::unique_ptr<RecordFile> OpenOrCreateRecordFile(const std::string& path) = 0;
    // Opens a regular file for reading, letting others read it; nothing on failure.
    virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;
    // Opens a regular file of records for reading only, letting others read and write it
    // meanwhile (another program may keep it open for writing); nothing on failure. The default
    // suits file systems without share modes, where both opens are the same.
    virtual std::unique_ptr<InputFile> OpenRecordFileForReading(const std::string& path) {
        return OpenForReading(path);
    }

    // For the run journal, the ledger inspector and undo. The defaults fail.

    // Opens an existing regular file for reading and writing, never creating it and never
    // through a symbolic link; nothing on failure.
    virtual std::unique_ptr<RecordFile> OpenExistingRecordFile(const std::string& path) {
        (void)path;
        return nullptr;
    }
    // Creates a regular file that must not exist yet (never through a symbolic link) and opens
    // it for writing; nothing when it exists or on failure.
    virtual std::unique_ptr<RecordFile> CreateNewFile(const std::string& path) {
        (void)path;
        return nullptr;
    }
    // Creates the directory when it is missing; true when it exists afterwards and is no link.
    virtual bool MakeDirectory(const std::string& path) {
        (void)path;
        return false;
    }
    // The names in a directory, without "." and ".."; nothing when it cannot be read.
    virtual std::optional<std::vector<std::string>> ListDirectory(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
    // Removes the file `path` names, but only while it still names the file `open` holds (not
    // a file put in its place since).
    virtual bool RemoveOpenFile(const std::string& path, RecordFile& open) {
        (void)path, (void)open;
        return false;
    }
    // Removes a file; false when it could not be removed.
    virtual bool RemoveFile(const std::string& path) {
        (void)path;
        return false;
    }
};

// The real file system of this machine.
FileSystem& LocalFileSystem();

// The platform's path separator: '/' here, '\\' on Windows.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace trevo

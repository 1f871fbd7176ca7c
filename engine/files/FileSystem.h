#pragma once
// The file operations the engine needs, behind one interface so that tests can make any single
// operation fail. Failures are values; nothing here throws.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace trevo {

// The lock between converter runs. Two runs appending to one period file at once would both
// take the same record count and overwrite each other's records, so a run holds an exclusive
// lock on each period file from opening it to closing it, and a run that finds the lock held
// does not write the file. Anything else of this system that changes a period file (an undo
// of a run) takes the same lock, through RecordFile::LockAgainstOtherRuns or
// FileSystem::LockRecordFile. The lock is advisory and of this system only: the ledger program
// takes no locks, neither sees nor waits for this one, and may write alongside as before. On
// this system it is an open-file-description lock (F_OFD_SETLK) on the whole file: held by the
// open file, not by the process, and released when that file is closed.
enum class LockOutcome {
    Taken,
    HeldByAnotherRun,  // another open of the file holds it: another run of this system
    Failed,            // the lock could not be asked for (no file, no locking on that volume)
};

// Holds the lock of LockRecordFile until destroyed.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

struct FileLockAttempt {
    LockOutcome outcome = LockOutcome::Failed;
    std::unique_ptr<FileLock> lock;  // set when Taken
};

// A file opened for reading and writing whole records. Others may read and write it meanwhile.
// Destroying an open file closes it (and so releases its lock).
class RecordFile {
  public:
    virtual ~RecordFile() = default;
    // Nothing when the size cannot be taken, or when the file is no longer the file under the
    // name it was opened by: deleted, renamed, replaced, its directory removed or renamed. A
    // record appended to such a file would go where the ledger program never reads it.
    virtual std::optional<std::uint64_t> SizeInBytes() = 0;
    // Where the next Write goes.
    virtual bool Seek(std::uint64_t offset) = 0;
    // The number of bytes the system took: one write call, never retried.
    virtual std::size_t Write(const void* data, std::size_t size) = 0;
    virtual bool Close() = 0;
    // Takes the lock between converter runs (see LockOutcome) until the file is closed.
    virtual LockOutcome LockAgainstOtherRuns() = 0;

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
    // On the disk, not only in the system's cache.
    virtual bool Sync() { return false; }
};

// A file read from start to end.
class InputFile {
  public:
    virtual ~InputFile() = default;
    // Bytes read into `buffer` (0 at the end of the file), or nothing when reading failed.
    virtual std::optional<std::size_t> Read(char* buffer, std::size_t capacity) = 0;
    // Size at opening, for progress reports; 0 when unknown.
    virtual std::uint64_t SizeAtOpen() const = 0;
    // True when the file's size or modification time now differs from when it was opened, or
    // cannot be told: its reader may have missed or mixed contents. A file that cannot change
    // (held in memory) says false.
    virtual bool ChangedSinceOpen() { return false; }
};

// A directory held open: every name below is looked up in it, not along a path again, and
// never through a symbolic link. Destroying it closes it.
class Directory {
  public:
    virtual ~Directory() = default;
    // The names in it, without "." and ".."; nothing when it cannot be read.
    virtual std::optional<std::vector<std::string>> List() = 0;
    // A directory within it, made first when missing and `create` says so; nothing when the
    // name is a link or no directory.
    virtual std::unique_ptr<Directory> OpenDirectory(const std::string& name, bool create) = 0;
    virtual std::unique_ptr<InputFile> OpenForReading(const std::string& name) = 0;
    // A new regular file for reading and writing; nothing when the name exists (a link too).
    virtual std::unique_ptr<RecordFile> CreateNewFile(const std::string& name) = 0;
    virtual bool Remove(const std::string& name) = 0;
    // Gives the entry `from` the name `to`; never replaces a name that exists.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Whether this process may rename or remove `name` here: write and search permission on
    // the directory and, in a sticky directory, owning the directory or the file.
    virtual bool MayChangeName(const std::string& name) = 0;
    // Makes new, renamed and removed names durable.
    virtual bool Sync() = 0;
};

// A file name as the system spells it (UTF-8 here), for files whose names the system gave
// rather than the user typed: the settings file beside the program. Every other path of this
// interface is Windows-1250 text, like everything the user types.
struct SystemPath {
    std::string name;
};

// A new file being written whole. Destroying an open one closes it.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    // All of `bytes`, however many write calls it takes.
    virtual std::error_code Write(std::string_view bytes) = 0;
    // On the disk, not only in the system's cache.
    virtual std::error_code Sync() = 0;
    virtual std::error_code Close() = 0;
};

struct OutputFileOpen {
    std::unique_ptr<OutputFile> file;
    std::error_code error;  // when there is no file
};

struct WholeFileRead {
    std::error_code error;  // no_such_file_or_directory when there is none
    std::string bytes;
};

// What a name stands for, without following a link in its last component.
struct PathKind {
    bool exists = false;
    bool isDirectory = false;
    bool isLink = false;
    unsigned permissions = 0;  // the nine permission bits
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // A regular file, or a link to one; a directory does not count.
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Opens the file keeping its contents, or creates it empty; nothing on failure, and
    // nothing when the name is a symbolic link (the link's target is not touched) or the file
    // is read-only (see IsReadOnlyFile).
    virtual std::unique_ptr<RecordFile> OpenOrCreateRecordFile(const std::string& path) = 0;
    // Opens a regular file for reading, letting others read it; nothing on failure.
    virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;
    // Opens a regular file of records for reading only, letting others read and write it
    // meanwhile (another program may keep it open for writing); nothing on failure. The default
    // suits file systems without share modes, where both opens are the same.
    virtual std::unique_ptr<InputFile> OpenRecordFileForReading(const std::string& path) {
        return OpenForReading(path);
    }
    // Opens a period file for reading only, as OpenRecordFileForReading does, but never
    // through a symbolic link at its name: what is read is what a run would write. The default
    // suits file systems without links.
    virtual std::unique_ptr<InputFile> OpenPeriodFileForReading(const std::string& path) {
        return OpenRecordFileForReading(path);
    }
    // Takes the lock between converter runs on an existing record file, for as long as the
    // returned lock lives, without creating or changing the file. The file is opened for
    // writing (the lock needs it) and never through a symbolic link.
    virtual FileLockAttempt LockRecordFile(const std::string& /*path*/) { return {}; }

    // A file is read-only when nobody has a write permission bit, as with the read-only
    // attribute elsewhere: such a file is never written, even by the superuser, whom access
    // checks always let through. A name that does not exist is not read-only.
    virtual bool IsReadOnlyFile(const SystemPath& /*path*/) { return false; }

    // Files named by the system, read and replaced whole (the settings file). The defaults
    // suit file systems that hold no such files.
    virtual WholeFileRead ReadWholeFile(const SystemPath& /*path*/) {
        return {std::make_error_code(std::errc::no_such_file_or_directory), {}};
    }
    virtual PathKind Inspect(const SystemPath& /*path*/) { return {}; }
    // The target a symbolic link names, made absolute against the link's directory.
    virtual std::optional<SystemPath> LinkTarget(const SystemPath& /*path*/) {
        return std::nullopt;
    }
    virtual std::error_code CreateDirectories(const SystemPath& /*path*/) {
        return std::make_error_code(std::errc::function_not_supported);
    }
    // A new file that did not exist (never through a link): with exactly these permission
    // bits, or the usual ones under the process's mask when none are given.
    virtual OutputFileOpen CreateNewFile(const SystemPath& /*path*/,
                                         std::optional<unsigned> /*permissions*/) {
        return {nullptr, std::make_error_code(std::errc::function_not_supported)};
    }
    // An existing file emptied for writing, for a directory that takes no new files.
    virtual OutputFileOpen OpenForOverwrite(const SystemPath& /*path*/) {
        return {nullptr, std::make_error_code(std::errc::function_not_supported)};
    }
    // Replaces whatever `to` names, in one step.
    virtual std::error_code Rename(const SystemPath& /*from*/, const SystemPath& /*to*/) {
        return std::make_error_code(std::errc::function_not_supported);
    }
    virtual std::error_code Remove(const SystemPath& /*path*/) {
        return std::make_error_code(std::errc::function_not_supported);
    }
    // Makes a rename or a new name in the directory durable.
    virtual std::error_code SyncDirectory(const SystemPath& /*path*/) {
        return std::make_error_code(std::errc::function_not_supported);
    }

    // For the run journal, the ledger inspector and undo. The defaults fail.

    // A directory by its path (links along the path, and at its name, are followed: the
    // ledger directory may be a link); nothing when it is none or cannot be opened.
    virtual std::unique_ptr<Directory> OpenDirectory(const std::string& path) {
        (void)path;
        return nullptr;
    }

    // Opens an existing regular file for reading and writing, never creating it and never
    // through a symbolic link; nothing on failure, and nothing for a read-only file (see
    // IsReadOnlyFile), which is never written.
    virtual std::unique_ptr<RecordFile> OpenExistingRecordFile(const std::string& path) {
        (void)path;
        return nullptr;
    }
    // Creates a regular file that must not exist yet (never through a symbolic link) and opens
    // it for writing; nothing when it exists or on failure.
    virtual std::unique_ptr<RecordFile> CreateNewRecordFile(const std::string& path) {
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

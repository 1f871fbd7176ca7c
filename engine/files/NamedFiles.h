#pragma once
// Names the user gives the command line for a file it writes besides the books (the JSON
// summary) or fails to open: what such a name stands for, which file it is, and the two ways
// such a file is written (a stream written in place, a regular file replaced in one step).
// Which names may be written is the caller's judgement; this is each platform's part of it.
// Paths are UTF-8, as the system spells them (UTF-16 at the calls on Windows).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace trevo {

// Which file a name leads to, whatever the name: device and inode on Linux, volume serial
// number and file index on Windows. A hard link, another path to a directory or a followed
// link give the same identity.
// Unknown (not `known`) for a name that is missing or cannot be asked.
struct FileIdentity {
    bool known = false;
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
};

// Both known and the same file.
inline bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.volume == b.volume && a.file == b.file;
}

enum class NameKind {
    Missing,
    RegularFile,
    Directory,
    Stream,  // a character device or a pipe: NUL, CON, /dev/null, a FIFO
    Link,    // a symbolic link; on Windows any reparse point (junction, mount point)
    Other,   // a block device, a socket
};

struct NameStatus {
    NameKind kind = NameKind::Missing;
    FileIdentity identity;
    bool readOnly = false;  // no write bit for anyone (Linux), the read-only attribute (Windows)
};

struct NameLookup {
    std::error_code error;  // a failure other than a missing name
    NameStatus status;
};

// A device or a pipe opened for writing.
class OutputStream {
  public:
    virtual ~OutputStream() = default;
    // All of `bytes`, however many write calls it takes.
    virtual std::error_code Write(std::string_view bytes) = 0;
    virtual std::error_code Close() = 0;
};

struct OutputStreamOpen {
    std::unique_ptr<OutputStream> stream;
    std::error_code error;  // when there is no stream
};

// A path split at its last separator ('/' here, '\\' or '/' on Windows).
struct PathParts {
    std::string directory;  // "." when the path has none; a root stays a root ("/", "C:\\")
    std::string name;
};

class NamedFiles {
  public:
    virtual ~NamedFiles() = default;
    // What `path` stands for; a link at its last component is followed when `followLink`.
    virtual NameLookup Status(const std::string& path, bool followLink) = 0;
    // What standard output (1) or standard error (2) goes to, when it is a file there is.
    virtual FileIdentity StandardStreamIdentity(int stream) = 0;
    // The names in a directory, without "." and ".."; nothing when it cannot be listed.
    virtual std::optional<std::vector<std::string>> Names(const std::string& directory) = 0;
    // Whether `path` opens for reading now (a directory as a directory): the error when not.
    virtual std::error_code TryOpen(const std::string& path, bool directory) = 0;
    // Opens a device or a pipe for writing; an error when what opened is not one after all.
    virtual OutputStreamOpen OpenStream(const std::string& path) = 0;
    // Writes `bytes` to a new file beside `path`, puts it on the disk and renames it over
    // `path` in one step, keeping the permission bits of a file that was there; a failed step
    // leaves no new file.
    virtual std::error_code ReplaceFile(const std::string& path, std::string_view bytes) = 0;
    virtual PathParts Split(const std::string& path) const = 0;
    virtual std::string Join(const std::string& directory, std::string_view name) const = 0;
};

// This machine's.
NamedFiles& LocalNamedFiles();

}  // namespace trevo

#pragma once
// Files named by the system rather than typed by the user (the settings file beside the
// program, the JSON summary), read and replaced whole. Their names are SystemPaths.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/files/FileResult.h"

namespace trevo {

// A file name as the system spells it: UTF-8 on Linux and on Windows (where it becomes UTF-16
// at the system's calls). Every other path of the file layer is Windows-1250 text, like
// everything the user types.
struct SystemPath {
    std::string name;
};

// A new file being written whole. Destroying an open one closes it.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    // All of `bytes`, however many write calls it takes.
    virtual FileDone Write(std::string_view bytes) = 0;
    // On the disk, not only in the system's cache.
    virtual FileDone Sync() = 0;
    virtual FileDone Close() = 0;
};

// What a name stands for, without following a link in its last component.
struct PathKind {
    bool exists = false;
    bool isDirectory = false;
    bool isLink = false;
    unsigned permissions = 0;  // the nine permission bits (on Windows 0444 or 0666, from the
                               // read-only attribute)
};

class WholeFileStore {
  public:
    virtual ~WholeFileStore() = default;
    // A file is read-only when nobody has a write permission bit (on Windows: the read-only
    // attribute): such a file is never written, even by the superuser, whom access checks
    // always let through. A name that does not exist is not read-only.
    virtual bool IsReadOnlyFile(const SystemPath& path) = 0;
    // std::errc::no_such_file_or_directory when there is none.
    virtual FileResult<std::string> ReadWholeFile(const SystemPath& path) = 0;
    virtual PathKind Inspect(const SystemPath& path) = 0;
    // The target a symbolic link names, made absolute against the link's directory.
    virtual FileResult<SystemPath> LinkTarget(const SystemPath& path) = 0;
    virtual FileDone CreateDirectories(const SystemPath& path) = 0;
    // A new file that did not exist (never through a link): with exactly these permission
    // bits, or the usual ones under the process's mask when none are given.
    virtual FileResult<std::unique_ptr<OutputFile>> CreateNewFile(
        const SystemPath& path, std::optional<unsigned> permissions) = 0;
    // An existing file emptied for writing, for a directory that takes no new files.
    virtual FileResult<std::unique_ptr<OutputFile>> OpenForOverwrite(const SystemPath& path) = 0;
    // Replaces whatever `to` names, in one step, durably where the system allows (on Windows
    // MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
    virtual FileDone Rename(const SystemPath& from, const SystemPath& to) = 0;
    virtual FileDone Remove(const SystemPath& path) = 0;
    // Makes a rename or a new name in the directory durable (nothing to do where the rename
    // itself is written through).
    virtual FileDone SyncDirectory(const SystemPath& path) = 0;
};

}  // namespace trevo

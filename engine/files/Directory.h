#pragma once
// A directory held open: every name below is looked up in it, not along a path again, and never
// through a symbolic link (or reparse point). Destroying it closes it. Names are Windows-1250.

#include <memory>
#include <string>
#include <vector>

#include "engine/files/FileResult.h"
#include "engine/files/InputFile.h"
#include "engine/files/RecordFile.h"

namespace trevo {

class Directory {
  public:
    virtual ~Directory() = default;
    // The names in it, without "." and "..".
    virtual FileResult<std::vector<std::string>> List() = 0;
    // A directory within it, made first when missing and `create` says so; an error when the
    // name is a link or no directory.
    virtual FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& name,
                                                                 bool create) = 0;
    virtual FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string& name) = 0;
    // A new regular file for reading and writing; FileErrc::Exists when the name exists (a link
    // too).
    virtual FileResult<std::unique_ptr<RecordFile>> CreateNewFile(const std::string& name) = 0;
    virtual FileDone Remove(const std::string& name) = 0;
    // Gives the entry `from` the name `to`; never replaces a name that exists.
    virtual FileDone Rename(const std::string& from, const std::string& to) = 0;
    // Whether this process may rename or remove `name` here (on Linux: write and search
    // permission on the directory and, in a sticky directory, owning the directory or the
    // file).
    virtual bool MayChangeName(const std::string& name) = 0;
    // Makes new, renamed and removed names durable.
    virtual FileDone Sync() = 0;
};

}  // namespace trevo

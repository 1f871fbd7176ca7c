#pragma once
// Directories by the paths the user gave (Windows-1250 text): the ledger directory and the
// journal's folder in it.

#include <memory>
#include <string>
#include <vector>

#include "engine/files/Directory.h"
#include "engine/files/FileResult.h"

namespace trevo {

class DirectoryStore {
  public:
    virtual ~DirectoryStore() = default;
    // A regular file, or a link to one; a directory does not count.
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // A directory by its path (links along the path, and at its name, are followed: the ledger
    // directory may be a link).
    virtual FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& path) = 0;
    // Creates the directory when it is missing; done when it exists afterwards and is no link.
    virtual FileDone MakeDirectory(const std::string& path) = 0;
    // The names in a directory, without "." and "..".
    virtual FileResult<std::vector<std::string>> ListDirectory(const std::string& path) = 0;
};

}  // namespace trevo

#pragma once
// The small pieces the POSIX file classes share: path spelling, errors, the read-only rule.

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <system_error>
#include <vector>

#include "engine/files/FileResult.h"
#include "engine/files/PosixDescriptor.h"

namespace trevo {

// Paths reach the engine as Windows-1250 text, like every text the user types; this system
// names files in UTF-8.
std::string NativePath(const std::string& path);

// errno as an error; an I/O error should a call have failed without setting it, so that a
// failure never reads as success.
std::error_code LastError();

// Why opening `name` relative to `dir` (AT_FDCWD for a path) just failed: errno, except that a
// symbolic link refused by O_NOFOLLOW is FileErrc::IsLink and a name O_EXCL refused is
// FileErrc::Exists.
std::error_code OpenError(int dir, const std::string& nativeName, int flags);

struct OpenRegularFile {
    Descriptor fd;
    struct stat info;
};

// Opens `nativeName` relative to `dir` (AT_FDCWD for a path) with `flags`, which hold
// O_NONBLOCK so that a FIFO at the name cannot hang the open (the caller clears it once the
// file is known to be regular): FileErrc::NotRegularFile for anything but a regular file.
FileResult<OpenRegularFile> OpenRegular(int dir, const std::string& nativeName, int flags);

// The one rule for read-only files (see WholeFileStore::IsReadOnlyFile).
bool NoWritePermission(mode_t mode);

bool ClearNonBlocking(int fd);

// The names of an open directory, without "." and ".."; closes it.
std::vector<std::string> NamesIn(DIR* dir);

}  // namespace trevo

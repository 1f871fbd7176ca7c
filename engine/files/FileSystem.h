#pragma once
// The file operations the engine needs, behind small interfaces so that tests can make any
// single operation fail and each platform gives its own: period files, directories, and files
// replaced whole. Failures are values (FileResult); nothing here throws.

#include "engine/files/DirectoryStore.h"
#include "engine/files/PeriodFileStore.h"
#include "engine/files/WholeFileStore.h"

namespace trevo {

// All three, as one platform gives them. Code that needs one kind takes that interface.
class FileSystem : public PeriodFileStore, public DirectoryStore, public WholeFileStore {};

// The real file system of this machine: POSIX on Linux, the wide Win32 calls on Windows.
FileSystem& LocalFileSystem();

// The platform's path separator: '/' here, '\\' on Windows.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace trevo

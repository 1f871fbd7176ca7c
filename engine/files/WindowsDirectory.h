#pragma once
// A directory held open through a handle that does not share delete, so that nobody can
// rename or remove it while it is held, and the names within it opened by joining them to its
// path, never through a reparse point.

#include <memory>
#include <string>

#include "engine/files/Directory.h"
#include "engine/files/WindowsHandle.h"

namespace trevo::windows {

// `path` is an extended path; links along it and at its end are followed when `followLinks`
// (the ledger directory may be a link), otherwise a link at its end is refused.
FileResult<std::unique_ptr<Directory>> HoldDirectory(const std::wstring& path, bool followLinks);

// The names in the directory `path` (an extended path), without "." and "..", back in
// Windows-1250; a name that has no Windows-1250 spelling is left out (no file of the ledger).
FileResult<std::vector<std::string>> NamesIn(const std::wstring& path);

}  // namespace trevo::windows

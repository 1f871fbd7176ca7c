#pragma once
// Replacing a whole file so that a failure at any step, a full disk or a crash leaves either
// the old contents or the new ones, never a mixture or a file cut short.

#include <string_view>

#include "engine/files/WholeFileStore.h"

namespace trevo {

// Writes `bytes` to "<path>.new" beside the file, forces it to disk, renames it over the file
// and forces the directory, so that the rename survives a crash. The replaced file's permission
// bits are kept. A name that is a symbolic link stays one: the file it names is replaced. A
// missing directory is created. When the directory takes no new files, an existing file is
// emptied and written in place instead (the one case that is not all-or-nothing). The error
// is that of the first step that failed; a failed step leaves no "<path>.new".
FileDone ReplaceWholeFile(WholeFileStore& files, const SystemPath& path, std::string_view bytes);

}  // namespace trevo

#pragma once
// A file read from start to end through a handle.

#include <cstdint>
#include <memory>

#include "engine/files/FileResult.h"
#include "engine/files/InputFile.h"
#include "engine/files/WindowsHandle.h"

namespace trevo::windows {

// Takes the size and the time of the last write at once, for ChangedSinceOpen.
FileResult<std::unique_ptr<InputFile>> ReadingFrom(Handle handle);

}  // namespace trevo::windows

#pragma once
// A file read from start to end.

#include <cstddef>
#include <cstdint>

#include "engine/files/FileResult.h"

namespace trevo {

class InputFile {
  public:
    virtual ~InputFile() = default;
    // Bytes read into `buffer`: 0 at the end of the file.
    virtual FileResult<std::size_t> Read(char* buffer, std::size_t capacity) = 0;
    // Size at opening, for progress reports; 0 when unknown.
    virtual std::uint64_t SizeAtOpen() const = 0;
    // True when the file's size or modification time now differs from when it was opened, or
    // cannot be told: its reader may have missed or mixed contents. A file that cannot change
    // (held in memory, or shared for reading only while open) says false.
    virtual bool ChangedSinceOpen() { return false; }
};

}  // namespace trevo

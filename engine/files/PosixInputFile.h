#pragma once
// A regular file read from start to end on this system.

#include <sys/stat.h>

#include <memory>
#include <string>

#include "engine/files/InputFile.h"
#include "engine/files/PosixDescriptor.h"

namespace trevo {

class PosixInputFile final : public InputFile {
  public:
    PosixInputFile(int fd, const struct stat& opened);

    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override;
    std::uint64_t SizeAtOpen() const override { return size_; }
    bool ChangedSinceOpen() override;

  private:
    Descriptor fd_;
    std::uint64_t size_;
    struct stat opened_;
};

// A regular file opened for reading, relative to `dir` (AT_FDCWD for a path), with the extra
// open `flags` (O_NOFOLLOW). Opened non-blocking so that a FIFO at the name cannot hang the
// open, then made blocking.
FileResult<std::unique_ptr<InputFile>> OpenRegularForReading(int dir, const std::string& name,
                                                             int flags);

}  // namespace trevo

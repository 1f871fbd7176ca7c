#pragma once
// A record file and the lock between runs on this system: see RecordFile.h.

#include <sys/stat.h>

#include <string>
#include <utility>

#include "engine/files/NameWatch.h"
#include "engine/files/PosixDescriptor.h"
#include "engine/files/RecordFile.h"

namespace trevo {

// An exclusive open-file-description lock on the whole file (see RecordFile.h).
FileDone LockWholeFile(int fd);

class PosixRecordFile final : public RecordFile {
  public:
    PosixRecordFile(int fd, std::string nativePath, const struct stat& opened);

    FileResult<std::uint64_t> SizeInBytes() override;
    FileDone Seek(std::uint64_t offset) override;
    FileResult<std::size_t> Write(const void* data, std::size_t size) override;
    FileDone Close() override;
    FileDone LockAgainstOtherRuns() override;
    FileResult<std::size_t> ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;
    FileDone Truncate(std::uint64_t size) override;
    FileDone Sync() override;

    // The name, looked up without following a link, leads to the file open here.
    bool StillNamed() const;
    // The file's identity as opened, for telling whether a name still leads to it.
    std::pair<dev_t, ino_t> Identity() const { return {opened_.st_dev, opened_.st_ino}; }

  private:
    Descriptor fd_;
    std::string nativePath_;
    struct stat opened_;
    NameWatch watch_;
    std::uint64_t offset_ = 0;
};

class PosixFileLock final : public FileLock {
  public:
    explicit PosixFileLock(int fd) : fd_(fd) {}

  private:
    Descriptor fd_;
};

}  // namespace trevo

#pragma once
// A period file (or a file of this system's own) held open through a handle, and the lock
// between converter runs as Windows gives it.

#include <cstdint>
#include <string>

#include "engine/files/FileResult.h"
#include "engine/files/RecordFile.h"
#include "engine/files/WindowsHandle.h"

namespace trevo::windows {

// Where the lock between runs lies: one byte at 2^62. Windows' byte-range locks are mandatory
// for the range they cover, so a lock on the records would make the ledger program's own reads
// and writes fail while a run is on; no file of 400-byte records comes near 2^62 bytes (4 EiB),
// and locking beyond the end of a file is allowed. It stays below 2^63 so that file systems
// and network redirectors that keep offsets as signed 64-bit numbers take it too.
inline constexpr std::uint64_t kRunLockOffset = std::uint64_t{1} << 62;

// Takes the lock between runs on `handle`: FileErrc::HeldByAnotherRun when another open of
// the file (in any process) holds it.
FileDone LockAgainstRuns(HANDLE handle);
void UnlockAgainstRuns(HANDLE handle);

class WindowsRecordFile final : public RecordFile {
  public:
    // How often SizeInBytes looks the name up again (see there).
    enum class NameCheck {
        // Others cannot rename or delete the file while it is open (no delete sharing): the
        // name is looked up only now and then, for what sharing cannot stop.
        Periodic,
        // Opened sharing delete: looked up at every call.
        Always,
    };

    WindowsRecordFile(Handle handle, std::wstring name, std::uint64_t index, NameCheck check);
    ~WindowsRecordFile() override;

    FileResult<std::uint64_t> SizeInBytes() override;
    FileDone Seek(std::uint64_t offset) override;
    FileResult<std::size_t> Write(const void* data, std::size_t size) override;
    FileDone Close() override;
    FileDone LockAgainstOtherRuns() override;
    FileResult<std::size_t> ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;
    FileDone Truncate(std::uint64_t size) override;
    FileDone Sync() override;

    std::uint64_t Index() const { return index_; }

  private:
    // The name, looked up without following a link, leads to the file open here.
    bool StillNamed() const;

    Handle handle_;
    std::wstring name_;
    std::uint64_t index_;
    NameCheck check_;
    unsigned long long lastNameCheck_;
    std::uint64_t offset_ = 0;
    bool locked_ = false;
};

// Holds the lock between runs on a handle of its own until destroyed.
class WindowsFileLock final : public FileLock {
  public:
    explicit WindowsFileLock(Handle handle) : handle_(std::move(handle)) {}
    ~WindowsFileLock() override { UnlockAgainstRuns(handle_.Get()); }

  private:
    Handle handle_;
};

}  // namespace trevo::windows

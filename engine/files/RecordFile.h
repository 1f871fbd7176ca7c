#pragma once
// A period file held open for reading and writing whole records, and the lock between this
// system's runs.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/files/FileResult.h"

namespace trevo {

// The lock between converter runs. Two runs appending to one period file at once would both
// take the same record count and overwrite each other's records, so a run holds an exclusive
// lock on each period file from opening it to closing it, and a run that finds the lock held
// (FileErrc::HeldByAnotherRun) does not write the file. Anything else of this system that
// changes a period file (an undo of a run) takes the same lock. The lock is of this system
// only: the ledger program takes no locks, neither sees nor waits for this one, and reads and
// writes alongside as before. On Linux it is an open-file-description lock (F_OFD_SETLK) on the
// whole file; on Windows an exclusive LockFileEx on a byte range far beyond any real record, so
// that it never blocks the ledger program's reads and writes. Either way it belongs to the open
// file and is released when that file is closed.

// Holds the lock of PeriodFileStore::LockRecordFile until destroyed.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

// A file opened for reading and writing whole records. Others may read and write it meanwhile.
// Destroying an open file closes it (and so releases its lock).
class RecordFile {
  public:
    virtual ~RecordFile() = default;
    // An error when the size cannot be taken, and FileErrc::NameMoved when the file is no
    // longer the file under the name it was opened by: deleted, renamed, replaced, its
    // directory removed or renamed. A record appended to such a file would go where the ledger
    // program never reads it.
    virtual FileResult<std::uint64_t> SizeInBytes() = 0;
    // Where the next Write goes.
    virtual FileDone Seek(std::uint64_t offset) = 0;
    // The number of bytes the system took: one write call, never retried. An error only when
    // it took none.
    virtual FileResult<std::size_t> Write(const void* data, std::size_t size) = 0;
    virtual FileDone Close() = 0;
    // Takes the lock between converter runs until the file is closed.
    virtual FileDone LockAgainstOtherRuns() = 0;
    // Bytes read at `offset`: fewer at the end of the file.
    virtual FileResult<std::size_t> ReadAt(std::uint64_t offset, void* buffer,
                                           std::size_t size) = 0;
    // Cuts the file to `size` bytes.
    virtual FileDone Truncate(std::uint64_t size) = 0;
    // On the disk, not only in the system's cache.
    virtual FileDone Sync() = 0;
};

}  // namespace trevo

#pragma once
// The files a run reads and writes by the paths the user gave (Windows-1250 text): the export
// and the ledger's period files.

#include <memory>
#include <string>

#include "engine/files/FileResult.h"
#include "engine/files/InputFile.h"
#include "engine/files/RecordFile.h"

namespace trevo {

class PeriodFileStore {
  public:
    virtual ~PeriodFileStore() = default;
    // Opens the file keeping its contents, or creates it empty. FileErrc::IsLink when the name
    // is a symbolic link or reparse point (its target is not touched), FileErrc::ReadOnly for a
    // read-only file (see WholeFileStore::IsReadOnlyFile), which is never written.
    virtual FileResult<std::unique_ptr<RecordFile>> OpenOrCreateRecordFile(
        const std::string& path) = 0;
    // As OpenOrCreateRecordFile, but never creating the file.
    virtual FileResult<std::unique_ptr<RecordFile>> OpenExistingRecordFile(
        const std::string& path) = 0;
    // A regular file that must not exist yet (FileErrc::Exists when it does, a link too),
    // opened for writing.
    virtual FileResult<std::unique_ptr<RecordFile>> CreateNewRecordFile(
        const std::string& path) = 0;
    // The export: a regular file read while others may read it but not write it (where the
    // system can say so; elsewhere others may write, and InputFile::ChangedSinceOpen tells).
    virtual FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string& path) = 0;
    // A file of records read only, while others read and write it (another program may keep it
    // open for writing).
    virtual FileResult<std::unique_ptr<InputFile>> OpenRecordFileForReading(
        const std::string& path) = 0;
    // A period file read as OpenRecordFileForReading does, but never through a symbolic link
    // at its name: what is read is what a run would write.
    virtual FileResult<std::unique_ptr<InputFile>> OpenPeriodFileForReading(
        const std::string& path) = 0;
    // Takes the lock between converter runs (see RecordFile.h) on an existing record file, for
    // as long as the returned lock lives, without creating or changing the file. The file is
    // opened for writing (the lock needs it) and never through a symbolic link.
    virtual FileResult<std::unique_ptr<FileLock>> LockRecordFile(const std::string& path) = 0;
    // Removes the file `path` names, but only while it still names the file `open` holds (not
    // a file put in its place since).
    virtual FileDone RemoveOpenFile(const std::string& path, RecordFile& open) = 0;
    virtual FileDone RemoveFile(const std::string& path) = 0;
};

}  // namespace trevo

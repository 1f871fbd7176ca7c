#pragma once
// The file system of this machine, as LocalFileSystem() gives it. Its methods are defined
// by interface: PosixPeriodFileStore.cpp, PosixDirectoryStore.cpp, PosixWholeFileStore.cpp.

#include "engine/files/FileSystem.h"

namespace trevo {

class PosixFileSystem final : public FileSystem {
  public:
    // PeriodFileStore
    FileResult<std::unique_ptr<RecordFile>> OpenOrCreateRecordFile(
        const std::string& path) override;
    FileResult<std::unique_ptr<RecordFile>> OpenExistingRecordFile(
        const std::string& path) override;
    FileResult<std::unique_ptr<RecordFile>> CreateNewRecordFile(const std::string& path) override;
    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string& path) override;
    FileResult<std::unique_ptr<InputFile>> OpenRecordFileForReading(
        const std::string& path) override;
    FileResult<std::unique_ptr<InputFile>> OpenPeriodFileForReading(
        const std::string& path) override;
    FileResult<std::unique_ptr<FileLock>> LockRecordFile(const std::string& path) override;
    FileDone RemoveOpenFile(const std::string& path, RecordFile& open) override;
    FileDone RemoveFile(const std::string& path) override;

    // DirectoryStore
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& path) override;
    FileDone MakeDirectory(const std::string& path) override;
    FileResult<std::vector<std::string>> ListDirectory(const std::string& path) override;

    // WholeFileStore
    bool IsReadOnlyFile(const SystemPath& path) override;
    FileResult<std::string> ReadWholeFile(const SystemPath& path) override;
    PathKind Inspect(const SystemPath& path) override;
    FileResult<SystemPath> LinkTarget(const SystemPath& path) override;
    FileDone CreateDirectories(const SystemPath& path) override;
    FileResult<std::unique_ptr<OutputFile>> CreateNewFile(
        const SystemPath& path, std::optional<unsigned> permissions) override;
    FileResult<std::unique_ptr<OutputFile>> OpenForOverwrite(const SystemPath& path) override;
    FileDone Rename(const SystemPath& from, const SystemPath& to) override;
    FileDone Remove(const SystemPath& path) override;
    FileDone SyncDirectory(const SystemPath& path) override;
};

}  // namespace trevo

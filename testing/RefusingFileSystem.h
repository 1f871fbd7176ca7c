#pragma once
// A file system in which nothing exists and every operation fails: the base of test doubles
// that serve one file or one answer and override just that.

#include <system_error>

#include "engine/files/FileSystem.h"

namespace trevo::testing {

class RefusingFileSystem : public FileSystem {
  public:
    FileResult<std::unique_ptr<RecordFile>> OpenOrCreateRecordFile(const std::string&) override {
        return Refused();
    }
    FileResult<std::unique_ptr<RecordFile>> OpenExistingRecordFile(const std::string&) override {
        return Refused();
    }
    FileResult<std::unique_ptr<RecordFile>> CreateNewRecordFile(const std::string&) override {
        return Refused();
    }
    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string&) override {
        return Refused();
    }
    FileResult<std::unique_ptr<InputFile>> OpenRecordFileForReading(const std::string&) override {
        return Refused();
    }
    FileResult<std::unique_ptr<InputFile>> OpenPeriodFileForReading(const std::string&) override {
        return Refused();
    }
    FileResult<std::unique_ptr<FileLock>> LockRecordFile(const std::string&) override {
        return Refused();
    }
    FileDone RemoveOpenFile(const std::string&, RecordFile&) override { return Refused(); }
    FileDone RemoveFile(const std::string&) override { return Refused(); }

    bool FileExists(const std::string&) override { return false; }
    bool DirectoryExists(const std::string&) override { return false; }
    FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string&) override {
        return Refused();
    }
    FileDone MakeDirectory(const std::string&) override { return Refused(); }
    FileResult<std::vector<std::string>> ListDirectory(const std::string&) override {
        return Refused();
    }

    bool IsReadOnlyFile(const SystemPath&) override { return false; }
    FileResult<std::string> ReadWholeFile(const SystemPath&) override { return Refused(); }
    PathKind Inspect(const SystemPath&) override { return {}; }
    FileResult<SystemPath> LinkTarget(const SystemPath&) override { return Refused(); }
    FileDone CreateDirectories(const SystemPath&) override { return Refused(); }
    FileResult<std::unique_ptr<OutputFile>> CreateNewFile(const SystemPath&,
                                                          std::optional<unsigned>) override {
        return Refused();
    }
    FileResult<std::unique_ptr<OutputFile>> OpenForOverwrite(const SystemPath&) override {
        return Refused();
    }
    FileDone Rename(const SystemPath&, const SystemPath&) override { return Refused(); }
    FileDone Remove(const SystemPath&) override { return Refused(); }
    FileDone SyncDirectory(const SystemPath&) override { return Refused(); }

  protected:
    static std::error_code Refused() {
        return std::make_error_code(std::errc::function_not_supported);
    }
};

}  // namespace trevo::testing

#pragma once
// Wraps a file system and makes the n-th operation of one kind fail, so that tests can sweep a
// failure across every step of a run or of a file replacement. Operations are counted per kind
// from 1. Open counts opening a record file and creating or emptying a whole file; Read counts
// reads of input files and whole-file reads; Sync counts forcing a file or a directory to disk.
// Directories opened through OpenDirectory are wrapped too: creating a file in one counts as
// Open, its renames and removals as theirs; opening a directory is not counted.

#include <array>
#include <cstddef>
#include <limits>
#include <memory>
#include <optional>

#include "engine/files/FileSystem.h"

namespace trevo::testing {

enum class FileOperation {
    Open,
    Size,
    Seek,
    Write,
    Close,
    Read,
    Lock,
    Sync,
    Rename,
    Remove,
    Truncate,
    Count_
};

class FaultInjectingFileSystem final : public FileSystem {
  public:
    explicit FaultInjectingFileSystem(FileSystem& real) : real_(real) {}

    // The `nth` operation of kind `operation` fails. A failing write first passes
    // `shortWriteBytes` bytes to the real file, as a short write would.
    void FailAt(FileOperation operation, int nth, std::size_t shortWriteBytes = 0);
    // The process kills itself (SIGKILL) just before the `nth` operation of kind `operation`,
    // as a crash at that point would leave things; for tests that run in a child process.
    void KillBefore(FileOperation operation, int nth);
    int Done(FileOperation operation) const { return done_[Index(operation)]; }
    // Every read of an input file hands out at most `bytes`, so that a failing read can fall
    // inside a line. Unlimited unless set.
    void LimitReadSize(std::size_t bytes) { readLimit_ = bytes; }
    std::size_t ReadLimit() const { return readLimit_; }

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
    bool FileExists(const std::string& path) override { return real_.FileExists(path); }
    bool DirectoryExists(const std::string& path) override { return real_.DirectoryExists(path); }
    FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& path) override;
    FileDone MakeDirectory(const std::string& path) override { return real_.MakeDirectory(path); }
    FileResult<std::vector<std::string>> ListDirectory(const std::string& path) override {
        return real_.ListDirectory(path);
    }

    // WholeFileStore
    bool IsReadOnlyFile(const SystemPath& path) override { return real_.IsReadOnlyFile(path); }
    FileResult<std::string> ReadWholeFile(const SystemPath& path) override;
    PathKind Inspect(const SystemPath& path) override { return real_.Inspect(path); }
    FileResult<SystemPath> LinkTarget(const SystemPath& path) override {
        return real_.LinkTarget(path);
    }
    FileDone CreateDirectories(const SystemPath& path) override {
        return real_.CreateDirectories(path);
    }
    FileResult<std::unique_ptr<OutputFile>> CreateNewFile(
        const SystemPath& path, std::optional<unsigned> permissions) override;
    FileResult<std::unique_ptr<OutputFile>> OpenForOverwrite(const SystemPath& path) override;
    FileDone Rename(const SystemPath& from, const SystemPath& to) override;
    FileDone Remove(const SystemPath& path) override { return real_.Remove(path); }
    FileDone SyncDirectory(const SystemPath& path) override;

    // True when this operation is to fail; counts it.
    bool Fails(FileOperation operation);
    std::size_t ShortWriteBytes() const { return shortWriteBytes_; }

  private:
    static std::size_t Index(FileOperation operation) {
        return static_cast<std::size_t>(operation);
    }

    FileSystem& real_;
    std::array<int, static_cast<std::size_t>(FileOperation::Count_)> done_{};
    std::optional<FileOperation> failing_;
    int failAt_ = 0;
    std::optional<FileOperation> killing_;
    int killAt_ = 0;
    std::size_t shortWriteBytes_ = 0;
    std::size_t readLimit_ = std::numeric_limits<std::size_t>::max();
};

}  // namespace trevo::testing

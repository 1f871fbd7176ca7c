#include "testing/FaultInjectingFileSystem.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <csignal>

namespace trevo::testing {

namespace {

// What an injected failure reports.
std::error_code InjectedError() {
    return std::make_error_code(std::errc::io_error);
}

class FaultyRecordFile final : public RecordFile {
  public:
    FaultyRecordFile(std::unique_ptr<RecordFile> real, FaultInjectingFileSystem& faults)
        : real_(std::move(real)), faults_(faults) {}

    std::optional<std::uint64_t> SizeInBytes() override {
        if (faults_.Fails(FileOperation::Size)) {
            return std::nullopt;
        }
        return real_->SizeInBytes();
    }
    bool Seek(std::uint64_t offset) override {
        return !faults_.Fails(FileOperation::Seek) && real_->Seek(offset);
    }
    std::size_t Write(const void* data, std::size_t size) override {
        if (faults_.Fails(FileOperation::Write)) {
            const std::size_t partial = std::min(size, faults_.ShortWriteBytes());
            return partial == 0 ? 0 : real_->Write(data, partial);
        }
        return real_->Write(data, size);
    }
    bool Close() override {
        const bool closed = real_->Close();  // the handle goes either way, as a real close does
        return !faults_.Fails(FileOperation::Close) && closed;
    }
    LockOutcome LockAgainstOtherRuns() override {
        if (faults_.Fails(FileOperation::Lock)) {
            return LockOutcome::Failed;
        }
        return real_->LockAgainstOtherRuns();
    }
    std::optional<std::size_t> ReadAt(std::uint64_t offset, void* buffer,
                                      std::size_t size) override {
        if (faults_.Fails(FileOperation::Read)) {
            return std::nullopt;
        }
        return real_->ReadAt(offset, buffer, size);
    }
    bool Truncate(std::uint64_t size) override {
        return !faults_.Fails(FileOperation::Truncate) && real_->Truncate(size);
    }
    bool Sync() override { return !faults_.Fails(FileOperation::Sync) && real_->Sync(); }

    RecordFile& Real() { return *real_; }

  private:
    std::unique_ptr<RecordFile> real_;
    FaultInjectingFileSystem& faults_;
};

class FaultyInputFile final : public InputFile {
  public:
    FaultyInputFile(std::unique_ptr<InputFile> real, FaultInjectingFileSystem& faults)
        : real_(std::move(real)), faults_(faults) {}

    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        if (faults_.Fails(FileOperation::Read)) {
            return std::nullopt;
        }
        return real_->Read(buffer, std::min(capacity, faults_.ReadLimit()));
    }
    std::uint64_t SizeAtOpen() const override { return real_->SizeAtOpen(); }
    bool ChangedSinceOpen() override { return real_->ChangedSinceOpen(); }

  private:
    std::unique_ptr<InputFile> real_;
    FaultInjectingFileSystem& faults_;
};

class FaultyOutputFile final : public OutputFile {
  public:
    FaultyOutputFile(std::unique_ptr<OutputFile> real, FaultInjectingFileSystem& faults)
        : real_(std::move(real)), faults_(faults) {}

    std::error_code Write(std::string_view bytes) override {
        if (faults_.Fails(FileOperation::Write)) {
            // A disk that fills up part of the way through.
            real_->Write(bytes.substr(0, std::min(bytes.size(), faults_.ShortWriteBytes())));
            return std::make_error_code(std::errc::no_space_on_device);
        }
        return real_->Write(bytes);
    }
    std::error_code Sync() override {
        return faults_.Fails(FileOperation::Sync) ? InjectedError() : real_->Sync();
    }
    std::error_code Close() override {
        const std::error_code closed = real_->Close();
        return faults_.Fails(FileOperation::Close) ? InjectedError() : closed;
    }

  private:
    std::unique_ptr<OutputFile> real_;
    FaultInjectingFileSystem& faults_;
};

class FaultyDirectory final : public Directory {
  public:
    FaultyDirectory(std::unique_ptr<Directory> real, FaultInjectingFileSystem& faults)
        : real_(std::move(real)), faults_(faults) {}

    std::optional<std::vector<std::string>> List() override { return real_->List(); }
    std::unique_ptr<Directory> OpenDirectory(const std::string& name, bool create) override {
        auto directory = real_->OpenDirectory(name, create);
        return directory ? std::make_unique<FaultyDirectory>(std::move(directory), faults_)
                         : nullptr;
    }
    std::unique_ptr<InputFile> OpenForReading(const std::string& name) override {
        auto file = real_->OpenForReading(name);
        return file ? std::make_unique<FaultyInputFile>(std::move(file), faults_) : nullptr;
    }
    std::unique_ptr<RecordFile> CreateNewFile(const std::string& name) override {
        if (faults_.Fails(FileOperation::Open)) {
            return nullptr;
        }
        auto file = real_->CreateNewFile(name);
        return file ? std::make_unique<FaultyRecordFile>(std::move(file), faults_) : nullptr;
    }
    bool Remove(const std::string& name) override {
        return !faults_.Fails(FileOperation::Remove) && real_->Remove(name);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return !faults_.Fails(FileOperation::Rename) && real_->Rename(from, to);
    }
    bool MayChangeName(const std::string& name) override { return real_->MayChangeName(name); }
    bool Sync() override { return !faults_.Fails(FileOperation::Sync) && real_->Sync(); }

  private:
    std::unique_ptr<Directory> real_;
    FaultInjectingFileSystem& faults_;
};

}  // namespace

std::unique_ptr<Directory> FaultInjectingFileSystem::OpenDirectory(const std::string& path) {
    auto directory = real_.OpenDirectory(path);
    return directory ? std::make_unique<FaultyDirectory>(std::move(directory), *this) : nullptr;
}

void FaultInjectingFileSystem::FailAt(FileOperation operation, int nth,
                                      std::size_t shortWriteBytes) {
    failing_ = operation;
    failAt_ = nth;
    shortWriteBytes_ = shortWriteBytes;
}

void FaultInjectingFileSystem::KillBefore(FileOperation operation, int nth) {
    killing_ = operation;
    killAt_ = nth;
}

bool FaultInjectingFileSystem::Fails(FileOperation operation) {
    const int count = ++done_[Index(operation)];
    if (killing_ == operation && count == killAt_) {
#ifdef _WIN32
        ::TerminateProcess(::GetCurrentProcess(), 128 + 9);  // as a shell reports SIGKILL
#else
        std::raise(SIGKILL);
#endif
    }
    return failing_ == operation && count == failAt_;
}

std::unique_ptr<RecordFile> FaultInjectingFileSystem::OpenOrCreateRecordFile(
    const std::string& path) {
    if (Fails(FileOperation::Open)) {
        return nullptr;
    }
    auto file = real_.OpenOrCreateRecordFile(path);
    return file ? std::make_unique<FaultyRecordFile>(std::move(file), *this) : nullptr;
}

std::unique_ptr<RecordFile> FaultInjectingFileSystem::OpenExistingRecordFile(
    const std::string& path) {
    if (Fails(FileOperation::Open)) {
        return nullptr;
    }
    auto file = real_.OpenExistingRecordFile(path);
    return file ? std::make_unique<FaultyRecordFile>(std::move(file), *this) : nullptr;
}

std::unique_ptr<RecordFile> FaultInjectingFileSystem::CreateNewRecordFile(const std::string& path) {
    if (Fails(FileOperation::Open)) {
        return nullptr;
    }
    auto file = real_.CreateNewRecordFile(path);
    return file ? std::make_unique<FaultyRecordFile>(std::move(file), *this) : nullptr;
}

bool FaultInjectingFileSystem::RemoveOpenFile(const std::string& path, RecordFile& open) {
    auto* faulty = dynamic_cast<FaultyRecordFile*>(&open);
    return !Fails(FileOperation::Remove) &&
           real_.RemoveOpenFile(path, faulty ? faulty->Real() : open);
}

bool FaultInjectingFileSystem::RemoveFile(const std::string& path) {
    return !Fails(FileOperation::Remove) && real_.RemoveFile(path);
}

std::unique_ptr<InputFile> FaultInjectingFileSystem::OpenForReading(const std::string& path) {
    auto file = real_.OpenForReading(path);
    return file ? std::make_unique<FaultyInputFile>(std::move(file), *this) : nullptr;
}

std::unique_ptr<InputFile> FaultInjectingFileSystem::OpenPeriodFileForReading(
    const std::string& path) {
    auto file = real_.OpenPeriodFileForReading(path);
    return file ? std::make_unique<FaultyInputFile>(std::move(file), *this) : nullptr;
}

}  // namespace trevo::testing

namespace trevo::testing {

FileLockAttempt FaultInjectingFileSystem::LockRecordFile(const std::string& path) {
    if (Fails(FileOperation::Lock)) {
        return {};
    }
    return real_.LockRecordFile(path);
}

WholeFileRead FaultInjectingFileSystem::ReadWholeFile(const SystemPath& path) {
    if (Fails(FileOperation::Read)) {
        return {InjectedError(), {}};
    }
    return real_.ReadWholeFile(path);
}

OutputFileOpen FaultInjectingFileSystem::CreateNewFile(const SystemPath& path,
                                                       std::optional<unsigned> permissions) {
    if (Fails(FileOperation::Open)) {
        return {nullptr, std::make_error_code(std::errc::permission_denied)};
    }
    OutputFileOpen opened = real_.CreateNewFile(path, permissions);
    if (opened.file) {
        opened.file = std::make_unique<FaultyOutputFile>(std::move(opened.file), *this);
    }
    return opened;
}

OutputFileOpen FaultInjectingFileSystem::OpenForOverwrite(const SystemPath& path) {
    if (Fails(FileOperation::Open)) {
        return {nullptr, std::make_error_code(std::errc::permission_denied)};
    }
    OutputFileOpen opened = real_.OpenForOverwrite(path);
    if (opened.file) {
        opened.file = std::make_unique<FaultyOutputFile>(std::move(opened.file), *this);
    }
    return opened;
}

std::error_code FaultInjectingFileSystem::Rename(const SystemPath& from, const SystemPath& to) {
    return Fails(FileOperation::Rename) ? InjectedError() : real_.Rename(from, to);
}

std::error_code FaultInjectingFileSystem::SyncDirectory(const SystemPath& path) {
    return Fails(FileOperation::Sync) ? InjectedError() : real_.SyncDirectory(path);
}

}  // namespace trevo::testing

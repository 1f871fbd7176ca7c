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

// The real result, with the file in it wrapped by `Faulty`.
template <class Faulty, class Interface>
FileResult<std::unique_ptr<Interface>> Wrapped(FileResult<std::unique_ptr<Interface>> opened,
                                               FaultInjectingFileSystem& faults) {
    if (!opened) {
        return opened.error();
    }
    return std::unique_ptr<Interface>(std::make_unique<Faulty>(*std::move(opened), faults));
}

class FaultyRecordFile final : public RecordFile {
  public:
    FaultyRecordFile(std::unique_ptr<RecordFile> real, FaultInjectingFileSystem& faults)
        : real_(std::move(real)), faults_(faults) {}

    FileResult<std::uint64_t> SizeInBytes() override {
        if (faults_.Fails(FileOperation::Size)) {
            return InjectedError();
        }
        return real_->SizeInBytes();
    }
    FileDone Seek(std::uint64_t offset) override {
        if (faults_.Fails(FileOperation::Seek)) {
            return InjectedError();
        }
        return real_->Seek(offset);
    }
    FileResult<std::size_t> Write(const void* data, std::size_t size) override {
        if (faults_.Fails(FileOperation::Write)) {
            // A disk that fills up part of the way through takes some bytes, or none.
            const std::size_t partial = std::min(size, faults_.ShortWriteBytes());
            if (partial == 0) {
                return std::make_error_code(std::errc::no_space_on_device);
            }
            return real_->Write(data, partial);
        }
        return real_->Write(data, size);
    }
    FileDone Close() override {
        FileDone closed = real_->Close();  // the handle goes either way, as a real close does
        if (faults_.Fails(FileOperation::Close)) {
            return InjectedError();
        }
        return closed;
    }
    FileDone LockAgainstOtherRuns() override {
        if (faults_.Fails(FileOperation::Lock)) {
            return InjectedError();
        }
        return real_->LockAgainstOtherRuns();
    }
    FileResult<std::size_t> ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override {
        if (faults_.Fails(FileOperation::Read)) {
            return InjectedError();
        }
        return real_->ReadAt(offset, buffer, size);
    }
    FileDone Truncate(std::uint64_t size) override {
        if (faults_.Fails(FileOperation::Truncate)) {
            return InjectedError();
        }
        return real_->Truncate(size);
    }
    FileDone Sync() override {
        if (faults_.Fails(FileOperation::Sync)) {
            return InjectedError();
        }
        return real_->Sync();
    }

    RecordFile& Real() { return *real_; }

  private:
    std::unique_ptr<RecordFile> real_;
    FaultInjectingFileSystem& faults_;
};

class FaultyInputFile final : public InputFile {
  public:
    FaultyInputFile(std::unique_ptr<InputFile> real, FaultInjectingFileSystem& faults)
        : real_(std::move(real)), faults_(faults) {}

    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override {
        if (faults_.Fails(FileOperation::Read)) {
            return InjectedError();
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

    FileDone Write(std::string_view bytes) override {
        if (faults_.Fails(FileOperation::Write)) {
            // A disk that fills up part of the way through.
            (void)real_->Write(bytes.substr(0, std::min(bytes.size(), faults_.ShortWriteBytes())));
            return std::make_error_code(std::errc::no_space_on_device);
        }
        return real_->Write(bytes);
    }
    FileDone Sync() override {
        if (faults_.Fails(FileOperation::Sync)) {
            return InjectedError();
        }
        return real_->Sync();
    }
    FileDone Close() override {
        FileDone closed = real_->Close();
        if (faults_.Fails(FileOperation::Close)) {
            return InjectedError();
        }
        return closed;
    }

  private:
    std::unique_ptr<OutputFile> real_;
    FaultInjectingFileSystem& faults_;
};

class FaultyDirectory final : public Directory {
  public:
    FaultyDirectory(std::unique_ptr<Directory> real, FaultInjectingFileSystem& faults)
        : real_(std::move(real)), faults_(faults) {}

    FileResult<std::vector<std::string>> List() override { return real_->List(); }
    FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& name,
                                                         bool create) override {
        return Wrapped<FaultyDirectory>(real_->OpenDirectory(name, create), faults_);
    }
    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string& name) override {
        return Wrapped<FaultyInputFile>(real_->OpenForReading(name), faults_);
    }
    FileResult<std::unique_ptr<RecordFile>> CreateNewFile(const std::string& name) override {
        if (faults_.Fails(FileOperation::Open)) {
            return InjectedError();
        }
        return Wrapped<FaultyRecordFile>(real_->CreateNewFile(name), faults_);
    }
    FileDone Remove(const std::string& name) override {
        if (faults_.Fails(FileOperation::Remove)) {
            return InjectedError();
        }
        return real_->Remove(name);
    }
    FileDone Rename(const std::string& from, const std::string& to) override {
        if (faults_.Fails(FileOperation::Rename)) {
            return InjectedError();
        }
        return real_->Rename(from, to);
    }
    bool MayChangeName(const std::string& name) override { return real_->MayChangeName(name); }
    FileDone Sync() override {
        if (faults_.Fails(FileOperation::Sync)) {
            return InjectedError();
        }
        return real_->Sync();
    }

  private:
    std::unique_ptr<Directory> real_;
    FaultInjectingFileSystem& faults_;
};

}  // namespace

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

FileResult<std::unique_ptr<RecordFile>> FaultInjectingFileSystem::OpenOrCreateRecordFile(
    const std::string& path) {
    if (Fails(FileOperation::Open)) {
        return InjectedError();
    }
    return Wrapped<FaultyRecordFile>(real_.OpenOrCreateRecordFile(path), *this);
}

FileResult<std::unique_ptr<RecordFile>> FaultInjectingFileSystem::OpenExistingRecordFile(
    const std::string& path) {
    if (Fails(FileOperation::Open)) {
        return InjectedError();
    }
    return Wrapped<FaultyRecordFile>(real_.OpenExistingRecordFile(path), *this);
}

FileResult<std::unique_ptr<RecordFile>> FaultInjectingFileSystem::CreateNewRecordFile(
    const std::string& path) {
    if (Fails(FileOperation::Open)) {
        return InjectedError();
    }
    return Wrapped<FaultyRecordFile>(real_.CreateNewRecordFile(path), *this);
}

FileResult<std::unique_ptr<InputFile>> FaultInjectingFileSystem::OpenForReading(
    const std::string& path) {
    return Wrapped<FaultyInputFile>(real_.OpenForReading(path), *this);
}

FileResult<std::unique_ptr<InputFile>> FaultInjectingFileSystem::OpenRecordFileForReading(
    const std::string& path) {
    return Wrapped<FaultyInputFile>(real_.OpenRecordFileForReading(path), *this);
}

FileResult<std::unique_ptr<InputFile>> FaultInjectingFileSystem::OpenPeriodFileForReading(
    const std::string& path) {
    return Wrapped<FaultyInputFile>(real_.OpenPeriodFileForReading(path), *this);
}

FileResult<std::unique_ptr<FileLock>> FaultInjectingFileSystem::LockRecordFile(
    const std::string& path) {
    if (Fails(FileOperation::Lock)) {
        return InjectedError();
    }
    return real_.LockRecordFile(path);
}

FileDone FaultInjectingFileSystem::RemoveOpenFile(const std::string& path, RecordFile& open) {
    if (Fails(FileOperation::Remove)) {
        return InjectedError();
    }
    auto* faulty = dynamic_cast<FaultyRecordFile*>(&open);
    return real_.RemoveOpenFile(path, faulty ? faulty->Real() : open);
}

FileDone FaultInjectingFileSystem::RemoveFile(const std::string& path) {
    if (Fails(FileOperation::Remove)) {
        return InjectedError();
    }
    return real_.RemoveFile(path);
}

FileResult<std::unique_ptr<Directory>> FaultInjectingFileSystem::OpenDirectory(
    const std::string& path) {
    return Wrapped<FaultyDirectory>(real_.OpenDirectory(path), *this);
}

FileResult<std::string> FaultInjectingFileSystem::ReadWholeFile(const SystemPath& path) {
    if (Fails(FileOperation::Read)) {
        return InjectedError();
    }
    return real_.ReadWholeFile(path);
}

FileResult<std::unique_ptr<OutputFile>> FaultInjectingFileSystem::CreateNewFile(
    const SystemPath& path, std::optional<unsigned> permissions) {
    if (Fails(FileOperation::Open)) {
        return std::make_error_code(std::errc::permission_denied);
    }
    return Wrapped<FaultyOutputFile>(real_.CreateNewFile(path, permissions), *this);
}

FileResult<std::unique_ptr<OutputFile>> FaultInjectingFileSystem::OpenForOverwrite(
    const SystemPath& path) {
    if (Fails(FileOperation::Open)) {
        return std::make_error_code(std::errc::permission_denied);
    }
    return Wrapped<FaultyOutputFile>(real_.OpenForOverwrite(path), *this);
}

FileDone FaultInjectingFileSystem::Rename(const SystemPath& from, const SystemPath& to) {
    if (Fails(FileOperation::Rename)) {
        return InjectedError();
    }
    return real_.Rename(from, to);
}

FileDone FaultInjectingFileSystem::SyncDirectory(const SystemPath& path) {
    if (Fails(FileOperation::Sync)) {
        return InjectedError();
    }
    return real_.SyncDirectory(path);
}

}  // namespace trevo::testing

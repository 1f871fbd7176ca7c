#include "testing/FaultInjectingFileSystem.h"

#include <algorithm>

namespace trevo::testing {

namespace {

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
    std::optional<std::size_t> ReadAt(std::uint64_t offset, void* buffer,
                                      std::size_t size) override {
        if (faults_.Fails(FileOperation::Read)) {
            return std::nullopt;
        }
        return real_->ReadAt(offset, buffer, size);
    }
    bool Truncate(std::uint64_t size) override {
        return !faults_.Fails(FileOperation::Write) && real_->Truncate(size);
    }
    bool LockAgainstOtherRuns() override { return real_->LockAgainstOtherRuns(); }

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

  private:
    std::unique_ptr<InputFile> real_;
    FaultInjectingFileSystem& faults_;
};

}  // namespace

void FaultInjectingFileSystem::FailAt(FileOperation operation, int nth,
                                      std::size_t shortWriteBytes) {
    failing_ = operation;
    failAt_ = nth;
    shortWriteBytes_ = shortWriteBytes;
}

bool FaultInjectingFileSystem::Fails(FileOperation operation) {
    const int count = ++done_[Index(operation)];
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

std::unique_ptr<RecordFile> FaultInjectingFileSystem::CreateNewFile(const std::string& path) {
    if (Fails(FileOperation::Open)) {
        return nullptr;
    }
    auto file = real_.CreateNewFile(path);
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

}  // namespace trevo::testing

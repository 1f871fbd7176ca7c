#pragma once
// A directory held open on this system: names are looked up in it (the *at calls), never
// through a link.

#include <string>

#include "engine/files/Directory.h"
#include "engine/files/PosixDescriptor.h"

namespace trevo {

class PosixDirectory final : public Directory {
  public:
    PosixDirectory(int fd, std::string nativePath) : fd_(fd), nativePath_(std::move(nativePath)) {}

    FileResult<std::vector<std::string>> List() override;
    FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& name,
                                                         bool create) override;
    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string& name) override;
    FileResult<std::unique_ptr<RecordFile>> CreateNewFile(const std::string& name) override;
    FileDone Remove(const std::string& name) override;
    FileDone Rename(const std::string& from, const std::string& to) override;
    bool MayChangeName(const std::string& name) override;
    FileDone Sync() override;

  private:
    Descriptor fd_;
    std::string nativePath_;
};

}  // namespace trevo

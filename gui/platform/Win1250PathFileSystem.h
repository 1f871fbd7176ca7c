#pragma once
// The engine names files in Windows-1250 bytes, like every text of the system. This file system
// turns such a name into the platform's own file name encoding before it reaches the real file
// system, so that a path with Polish letters is found here as well.

#include <memory>
#include <string>

#include "files/FileSystem.h"

namespace trevo::gui {

// The file name of the platform for a Windows-1250 path.
std::string LocalFileName(const std::string& win1250Path);

class Win1250PathFileSystem final : public FileSystem {
  public:
    explicit Win1250PathFileSystem(FileSystem& local) : local_(local) {}

    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::unique_ptr<RecordFile> OpenOrCreateRecordFile(const std::string& path) override;
    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;

  private:
    FileSystem& local_;
};

}  // namespace trevo::gui

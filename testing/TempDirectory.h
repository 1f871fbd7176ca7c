#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes.

#include <filesystem>
#include <string>

namespace trevo::testing {

class TempDirectory {
  public:
    TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    ~TempDirectory();

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace trevo::testing

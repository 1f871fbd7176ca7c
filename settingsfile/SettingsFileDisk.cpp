// Reading and writing the settings document from and to disk, through the engine's file
// interface.

#include "engine/files/FileFailureReason.h"
#include "engine/files/FileSystem.h"
#include "engine/files/WholeFileReplace.h"
#include "settingsfile/SettingsFile.h"

namespace trevo::settings {

namespace {

SettingsFileStatus Failed(std::error_code error) {
    return {false, FileFailureReason(error)};
}

}  // namespace

SettingsFileRead SettingsFile::Read(const std::string& path) {
    return Read(LocalFileSystem(), path);
}

SettingsFileRead SettingsFile::Read(WholeFileStore& files, const std::string& path) {
    const FileResult<std::string> read = files.ReadWholeFile(SystemPath{path});
    if (read.error() == std::errc::no_such_file_or_directory) {
        return {};
    }
    if (!read) {
        return {{}, Failed(read.error())};
    }
    return {Parse(*read), {}};
}

SettingsFileStatus SettingsFile::Write(const std::string& path) const {
    return Write(LocalFileSystem(), path);
}

SettingsFileStatus SettingsFile::Write(WholeFileStore& files, const std::string& path) const {
    if (const FileDone written = ReplaceWholeFile(files, SystemPath{path}, Serialize()); !written) {
        return Failed(written.error());
    }
    return {};
}

}  // namespace trevo::settings

#include "settingsfile/WindowSectionWrite.h"

#include "engine/files/FileSystem.h"

namespace trevo::settings {

bool IsReadOnlyFile(const std::string& path) {
    return LocalFileSystem().IsReadOnlyFile(SystemPath{path});
}

SectionWriteResult WriteWindowSection(const std::string& path, const SettingsFile& copy,
                                      std::string_view section) {
    return WriteWindowSection(LocalFileSystem(), path, copy, section);
}

SectionWriteResult WriteWindowSection(WholeFileStore& files, const std::string& path,
                                      const SettingsFile& copy, std::string_view section) {
    if (files.IsReadOnlyFile(SystemPath{path})) {
        return {SectionWriteOutcome::LeftReadOnly, {}};
    }
    SettingsFileRead onDisk = SettingsFile::Read(files, path);
    if (!onDisk.status.ok) {
        return {SectionWriteOutcome::Failed, std::move(onDisk.status.reason)};
    }
    onDisk.document.CopySectionFrom(copy, section);
    SettingsFileStatus written = onDisk.document.Write(files, path);
    if (!written.ok) {
        return {SectionWriteOutcome::Failed, std::move(written.reason)};
    }
    return {};
}

}  // namespace trevo::settings

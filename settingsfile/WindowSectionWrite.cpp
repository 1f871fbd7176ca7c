#include "settingsfile/WindowSectionWrite.h"

#include <filesystem>
#include <system_error>

namespace trevo::settings {

namespace fs = std::filesystem;

bool IsReadOnlyFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
        return false;
    }
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & kAnyWrite) == fs::perms::none;
}

SectionWriteResult WriteWindowSection(const std::string& path, const SettingsFile& copy,
                                      std::string_view section) {
    if (IsReadOnlyFile(path)) {
        return {SectionWriteOutcome::LeftReadOnly, {}};
    }
    SettingsFileRead onDisk = SettingsFile::Read(path);
    if (!onDisk.status.ok) {
        return {SectionWriteOutcome::Failed, std::move(onDisk.status.reason)};
    }
    onDisk.document.CopySectionFrom(copy, section);
    SettingsFileStatus written = onDisk.document.Write(path);
    if (!written.ok) {
        return {SectionWriteOutcome::Failed, std::move(written.reason)};
    }
    return {};
}

}  // namespace trevo::settings

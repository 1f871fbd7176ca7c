// Reading and writing the settings document from and to disk.

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "settingsfile/FileFailureReason.h"
#include "settingsfile/SettingsFile.h"

namespace trevo::settings {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

SettingsFileStatus Failed(std::error_code error) {
    return {false, FileFailureReason(error)};
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

struct WholeFileWrite {
    bool created = false;  // false: the file could not even be opened
    SettingsFileStatus status;
};

WholeFileWrite WriteWholeFile(const fs::path& path, const std::string& bytes) {
    errno = 0;
    FileHandle file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return {false, Failed(LastError())};
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0) {
        return {true, Failed(LastError())};
    }
    // Closing may be where a full disk shows; the handle is gone either way.
    if (std::fclose(file.release()) != 0) {
        return {true, Failed(LastError())};
    }
    return {true, {}};
}

}  // namespace

SettingsFileRead SettingsFile::Read(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return {};
    }
    if (error) {
        return {{}, Failed(error)};
    }
    if (fs::is_directory(status)) {
        return {{}, Failed(std::make_error_code(std::errc::is_a_directory))};
    }
    errno = 0;
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return {{}, Failed(LastError())};
    }
    std::string bytes;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        return {{}, Failed(LastError())};
    }
    return {Parse(bytes), {}};
}

SettingsFileStatus SettingsFile::Write(const std::string& path) const {
    std::error_code error;
    fs::path target(path);
    // A link stays a link: the file it points at is the one replaced.
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::weakly_canonical(target, error);
        if (!error) {
            target = std::move(resolved);
        }
    }
    const fs::path directory = target.parent_path();
    if (!directory.empty() && !fs::is_directory(directory, error)) {
        fs::create_directories(directory, error);
        if (error) {
            return Failed(error);
        }
    }
    const fs::file_status old = fs::status(target, error);
    const bool exists = fs::exists(old);
    if (exists && fs::is_directory(old)) {
        return Failed(std::make_error_code(std::errc::is_a_directory));
    }

    // The new contents go to a file of their own first, so that a full disk leaves the old file
    // as it was rather than cut short.
    const std::string bytes = Serialize();
    fs::path temporary = target;
    temporary += ".new";
    const WholeFileWrite staged = WriteWholeFile(temporary, bytes);
    std::error_code ignored;
    if (staged.status.ok) {
        if (exists) {
            fs::permissions(temporary, old.permissions(), fs::perm_options::replace, ignored);
        }
        fs::rename(temporary, target, error);
        if (!error) {
            return {};
        }
        fs::remove(temporary, ignored);
        return Failed(error);
    }
    if (staged.created) {
        fs::remove(temporary, ignored);
        return staged.status;
    }
    // A directory that takes no new files may still hold a writable settings file.
    if (exists) {
        return WriteWholeFile(target, bytes).status;
    }
    return staged.status;
}

}  // namespace trevo::settings

#include "engine/files/WholeFileReplace.h"

#include <optional>

namespace trevo {

namespace {

SystemPath DirectoryOf(const SystemPath& path) {
#ifdef _WIN32
    // Either separator; a drive's root keeps its own (C:\ rather than C:, which is that
    // drive's current directory).
    const auto slash = path.name.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && path.name[slash - 1] == ':') {
        return {path.name.substr(0, slash + 1)};
    }
#else
    const auto slash = path.name.rfind('/');
#endif
    if (slash == std::string::npos) {
        return {"."};
    }
    return {slash == 0 ? path.name.substr(0, 1) : path.name.substr(0, slash)};
}

std::error_code WriteAndClose(OutputFile& file, std::string_view bytes) {
    std::error_code error = file.Write(bytes);
    if (!error) {
        error = file.Sync();
    }
    // Closing may be where a full disk shows; the handle is gone either way.
    const std::error_code closed = file.Close();
    return error ? error : closed;
}

}  // namespace

std::error_code ReplaceWholeFile(FileSystem& fileSystem, const SystemPath& path,
                                 std::string_view bytes) {
    SystemPath target = path;
    PathKind kind = fileSystem.Inspect(target);
    if (kind.isLink) {
        if (auto linked = fileSystem.LinkTarget(target)) {
            target = std::move(*linked);
            kind = fileSystem.Inspect(target);
        }
    }
    if (kind.isDirectory) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    const SystemPath directory = DirectoryOf(target);
    if (!fileSystem.Inspect(directory).isDirectory) {
        if (const std::error_code error = fileSystem.CreateDirectories(directory)) {
            return error;
        }
    }

    const SystemPath temporary{target.name + ".new"};
    fileSystem.Remove(temporary);  // left by a run that was cut off
    const std::optional<unsigned> permissions =
        kind.exists ? std::optional<unsigned>(kind.permissions) : std::nullopt;
    OutputFileOpen staged = fileSystem.CreateNewFile(temporary, permissions);
    if (!staged.file) {
        // A directory that takes no new files may still hold a writable file.
        if (!kind.exists) {
            return staged.error;
        }
        OutputFileOpen inPlace = fileSystem.OpenForOverwrite(target);
        return inPlace.file ? WriteAndClose(*inPlace.file, bytes) : inPlace.error;
    }
    if (const std::error_code error = WriteAndClose(*staged.file, bytes)) {
        fileSystem.Remove(temporary);
        return error;
    }
    if (const std::error_code error = fileSystem.Rename(temporary, target)) {
        fileSystem.Remove(temporary);
        return error;
    }
    return fileSystem.SyncDirectory(directory);
}

}  // namespace trevo

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

FileDone WriteAndClose(OutputFile& file, std::string_view bytes) {
    FileDone done = file.Write(bytes);
    if (done) {
        done = file.Sync();
    }
    // Closing may be where a full disk shows; the handle is gone either way.
    FileDone closed = file.Close();
    return done ? closed : done;
}

}  // namespace

FileDone ReplaceWholeFile(WholeFileStore& files, const SystemPath& path, std::string_view bytes) {
    SystemPath target = path;
    PathKind kind = files.Inspect(target);
    if (kind.isLink) {
        if (auto linked = files.LinkTarget(target)) {
            target = *std::move(linked);
            kind = files.Inspect(target);
        }
    }
    if (kind.isDirectory) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    const SystemPath directory = DirectoryOf(target);
    if (!files.Inspect(directory).isDirectory) {
        if (FileDone made = files.CreateDirectories(directory); !made) {
            return made;
        }
    }

    const SystemPath temporary{target.name + ".new"};
    (void)files.Remove(temporary);  // left by a run that was cut off
    const std::optional<unsigned> permissions =
        kind.exists ? std::optional<unsigned>(kind.permissions) : std::nullopt;
    auto staged = files.CreateNewFile(temporary, permissions);
    if (!staged) {
        // A directory that takes no new files may still hold a writable file.
        if (!kind.exists) {
            return staged.error();
        }
        auto inPlace = files.OpenForOverwrite(target);
        return inPlace ? WriteAndClose(**inPlace, bytes) : FileDone(inPlace.error());
    }
    if (FileDone written = WriteAndClose(**staged, bytes); !written) {
        (void)files.Remove(temporary);
        return written;
    }
    if (FileDone renamed = files.Rename(temporary, target); !renamed) {
        (void)files.Remove(temporary);
        return renamed;
    }
    return files.SyncDirectory(directory);
}

}  // namespace trevo

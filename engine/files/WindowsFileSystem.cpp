#include <windows.h>

#include "engine/files/FileSystem.h"
#include "engine/files/WindowsDirectory.h"
#include "engine/files/WindowsError.h"
#include "engine/files/WindowsFileOpen.h"
#include "engine/files/WindowsInputFile.h"
#include "engine/files/WindowsPath.h"
#include "engine/files/WindowsRecordFile.h"

namespace trevo {

namespace {

using windows::Handle;
using windows::kShareReadWrite;
using windows::OpenRegularFile;
using windows::OpenRequest;
using windows::WindowsRecordFile;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileResult<std::unique_ptr<RecordFile>> RecordFileOf(FileResult<Handle> handle, std::wstring name,
                                                     WindowsRecordFile::NameCheck check) {
    if (!handle) {
        return handle.error();
    }
    const auto index = windows::FileIndex(handle->Get());
    if (!index) {
        return index.error();
    }
    return std::unique_ptr<RecordFile>(
        std::make_unique<WindowsRecordFile>(std::move(*handle), std::move(name), *index, check));
}

FileResult<std::unique_ptr<InputFile>> InputFileOf(FileResult<Handle> handle) {
    if (!handle) {
        return handle.error();
    }
    return windows::ReadingFrom(std::move(*handle));
}

FileDone Done(BOOL succeeded) {
    if (!succeeded) {
        return windows::LastError();
    }
    return {};
}

// The attributes of what a name stands for, a link followed; nothing when there is nothing.
std::optional<DWORD> FollowedAttributes(const std::wstring& name) {
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return attributes;
    }
    Handle target(::CreateFileW(name.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const auto followed = target.IsOpen() ? windows::AttributesOf(target.Get())
                                          : FileResult<windows::Attributes>(windows::LastError());
    if (!followed) {
        return std::nullopt;
    }
    return followed->attributes;
}

class WindowsOutputFile final : public OutputFile {
  public:
    explicit WindowsOutputFile(Handle handle) : handle_(std::move(handle)) {}

    FileDone Write(std::string_view bytes) override {
        constexpr std::size_t kMaxWrite = std::size_t{1} << 30;
        while (!bytes.empty()) {
            DWORD written = 0;
            const auto asked = static_cast<DWORD>(std::min(bytes.size(), kMaxWrite));
            if (!::WriteFile(handle_.Get(), bytes.data(), asked, &written, nullptr) &&
                written == 0) {
                return windows::LastError();
            }
            if (written == 0) {
                return std::make_error_code(std::errc::io_error);
            }
            bytes.remove_prefix(written);
        }
        return {};
    }

    FileDone Sync() override { return Done(::FlushFileBuffers(handle_.Get())); }

    FileDone Close() override { return Done(handle_.Close()); }

  private:
    Handle handle_;
};

FileResult<std::unique_ptr<OutputFile>> OutputFileOf(FileResult<Handle> handle) {
    if (!handle) {
        return handle.error();
    }
    return std::unique_ptr<OutputFile>(std::make_unique<WindowsOutputFile>(std::move(*handle)));
}

// Creates the directory and those above it that are missing.
FileDone MakeDirectories(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return std::make_error_code(std::errc::not_a_directory);
        }
        return {};
    }
    const auto cut = path.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > 0) {
        std::wstring parent = path.substr(0, cut);
        if (parent.ends_with(L':')) {
            parent += L'\\';  // a drive's root
        }
        if (parent != path && parent.size() > 4) {  // beyond the "\\?\" prefix
            if (const FileDone made = MakeDirectories(parent); !made) {
                return made;
            }
        }
    }
    if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return windows::LastError();
    }
    return {};
}

class WindowsFileSystem final : public FileSystem {
  public:
    // Period files: others read and write alongside (the ledger program), nobody renames or
    // deletes them while a run has them open.

    FileResult<std::unique_ptr<RecordFile>> OpenOrCreateRecordFile(
        const std::string& path) override {
        // OPEN_ALWAYS never truncates: a file another program creates meanwhile is kept.
        return OpenRecord(path, OPEN_ALWAYS, kShareReadWrite,
                          WindowsRecordFile::NameCheck::Periodic);
    }

    FileResult<std::unique_ptr<RecordFile>> OpenExistingRecordFile(
        const std::string& path) override {
        // Undo renames the file it holds aside before removing it, which takes delete sharing
        // from its own open; the name is then looked up at every size taken instead.
        return OpenRecord(path, OPEN_EXISTING, kShareAll, WindowsRecordFile::NameCheck::Always);
    }

    FileResult<std::unique_ptr<RecordFile>> CreateNewRecordFile(const std::string& path) override {
        return OpenRecord(path, CREATE_NEW, kShareReadWrite,
                          WindowsRecordFile::NameCheck::Periodic);
    }

    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string& path) override {
        // The export: others may read it, nobody may write it while it is read.
        const auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        return InputFileOf(OpenRegularFile(
            *name,
            {.share = FILE_SHARE_READ, .flags = FILE_FLAG_SEQUENTIAL_SCAN, .refuseLinks = false}));
    }

    FileResult<std::unique_ptr<InputFile>> OpenRecordFileForReading(
        const std::string& path) override {
        return OpenSharedForReading(path, /*refuseLinks=*/false);
    }

    FileResult<std::unique_ptr<InputFile>> OpenPeriodFileForReading(
        const std::string& path) override {
        return OpenSharedForReading(path, /*refuseLinks=*/true);
    }

    FileResult<std::unique_ptr<FileLock>> LockRecordFile(const std::string& path) override {
        const auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        // Read access is all a byte-range lock needs: a read-only file can be held too.
        auto handle = OpenRegularFile(*name, {});
        if (!handle) {
            return handle.error();
        }
        if (const FileDone locked = windows::LockAgainstRuns(handle->Get()); !locked) {
            return locked.error();
        }
        return std::unique_ptr<FileLock>(
            std::make_unique<windows::WindowsFileLock>(std::move(*handle)));
    }

    FileDone RemoveOpenFile(const std::string& path, RecordFile& open) override {
        const auto* held = dynamic_cast<WindowsRecordFile*>(&open);
        const auto name = windows::SystemName(path);
        if (held == nullptr || !name) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        // The name is opened for deletion and compared with the open file on that handle:
        // what is removed is what was compared, whatever happens to the name meanwhile.
        auto named =
            OpenRegularFile(*name, {.access = DELETE | FILE_READ_ATTRIBUTES, .share = kShareAll});
        if (!named) {
            return named.error();
        }
        const auto index = windows::FileIndex(named->Get());
        if (!index) {
            return index.error();
        }
        if (*index != held->Index()) {
            return FileErrc::NameMoved;
        }
        FILE_DISPOSITION_INFO remove{};
        remove.DeleteFile = TRUE;
        return Done(::SetFileInformationByHandle(named->Get(), FileDispositionInfo, &remove,
                                                 sizeof remove));
    }

    FileDone RemoveFile(const std::string& path) override {
        const auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        return Done(::DeleteFileW(name->c_str()));
    }

    // Directories by the user's paths.

    bool FileExists(const std::string& path) override {
        const auto name = windows::SystemName(path);
        const auto attributes = name ? FollowedAttributes(*name) : std::nullopt;
        return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool DirectoryExists(const std::string& path) override {
        const auto name = windows::SystemName(path);
        const auto attributes = name ? FollowedAttributes(*name) : std::nullopt;
        return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& path) override {
        const auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        return windows::HoldDirectory(*name, /*followLinks=*/true);
    }

    FileDone MakeDirectory(const std::string& path) override {
        const auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        if (!::CreateDirectoryW(name->c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return windows::LastError();
        }
        const DWORD attributes = ::GetFileAttributesW(name->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return windows::LastError();
        }
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return FileErrc::IsLink;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return std::make_error_code(std::errc::not_a_directory);
        }
        return {};
    }

    FileResult<std::vector<std::string>> ListDirectory(const std::string& path) override {
        const auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        return windows::NamesIn(*name);
    }

    // Files the system names, UTF-8.

    bool IsReadOnlyFile(const SystemPath& path) override {
        const auto name = windows::SystemNameOfUtf8(path.name);
        const auto attributes = name ? FollowedAttributes(*name) : std::nullopt;
        return attributes && (*attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
               (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    FileResult<std::string> ReadWholeFile(const SystemPath& path) override {
        const auto name = windows::SystemNameOfUtf8(path.name);
        if (!name) {
            return name.error();
        }
        auto handle = OpenRegularFile(*name, {.refuseLinks = false});
        if (!handle) {
            const auto attributes = FollowedAttributes(*name);
            if (attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return std::make_error_code(std::errc::is_a_directory);
            }
            return handle.error();
        }
        std::string bytes;
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(handle->Get(), buffer, sizeof buffer, &got, nullptr)) {
                return windows::LastError();
            }
            if (got == 0) {
                return bytes;
            }
            bytes.append(buffer, got);
        }
    }

    PathKind Inspect(const SystemPath& path) override {
        PathKind kind;
        const auto name = windows::SystemNameOfUtf8(path.name);
        if (!name) {
            return kind;
        }
        Handle itself(::CreateFileW(name->c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr));
        const auto own = itself.IsOpen() ? windows::AttributesOf(itself.Get())
                                         : FileResult<windows::Attributes>(windows::LastError());
        if (!own) {
            return kind;
        }
        kind.exists = true;
        kind.isLink = windows::IsNameSurrogate(own->attributes, own->reparseTag);
        DWORD attributes = own->attributes;
        if (kind.isLink) {
            const auto followed = FollowedAttributes(*name);
            if (!followed) {
                return kind;  // a dangling link
            }
            attributes = *followed;
        }
        kind.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        kind.permissions = kind.isDirectory                              ? 0777u
                           : (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444u
                                                                         : 0666u;
        return kind;
    }

    FileResult<SystemPath> LinkTarget(const SystemPath& path) override {
        const auto name = windows::SystemNameOfUtf8(path.name);
        if (!name) {
            return name.error();
        }
        Handle target(::CreateFileW(name->c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!target.IsOpen()) {
            return windows::LastError();
        }
        const auto final = windows::FinalPath(target.Get());
        if (!final) {
            return windows::LastError();
        }
        return SystemPath{windows::ToUtf8(windows::WithoutPrefix(*final))};
    }

    FileDone CreateDirectories(const SystemPath& path) override {
        auto name = windows::SystemNameOfUtf8(path.name);
        if (!name) {
            return name.error();
        }
        while (name->size() > 7 && name->ends_with(L'\\')) {
            name->pop_back();
        }
        return MakeDirectories(*name);
    }

    FileResult<std::unique_ptr<OutputFile>> CreateNewFile(
        const SystemPath& path, std::optional<unsigned> permissions) override {
        const auto name = windows::SystemNameOfUtf8(path.name);
        if (!name) {
            return name.error();
        }
        // Permission bits without any write bit are the read-only attribute here.
        const bool readOnly = permissions && (*permissions & 0222) == 0;
        return OutputFileOf(OpenRegularFile(
            *name, {.access = GENERIC_WRITE,
                    .attributes = readOnly ? DWORD{FILE_ATTRIBUTE_READONLY} : FILE_ATTRIBUTE_NORMAL,
                    .share = FILE_SHARE_READ,
                    .disposition = CREATE_NEW}));
    }

    FileResult<std::unique_ptr<OutputFile>> OpenForOverwrite(const SystemPath& path) override {
        const auto name = windows::SystemNameOfUtf8(path.name);
        if (!name) {
            return name.error();
        }
        // Emptied only after the checks on the open handle: TRUNCATE_EXISTING would empty a
        // read-only file before they could refuse it, where the system lets the open through.
        auto handle = OpenRegularFile(*name, {.access = GENERIC_WRITE,
                                              .share = FILE_SHARE_READ,
                                              .refuseLinks = false,
                                              .refuseReadOnly = true});
        if (!handle) {
            return handle.error();
        }
        if (!::SetEndOfFile(handle->Get())) {
            return windows::LastError();
        }
        return OutputFileOf(std::move(handle));
    }

    FileDone Rename(const SystemPath& from, const SystemPath& to) override {
        const auto source = windows::SystemNameOfUtf8(from.name);
        const auto target = windows::SystemNameOfUtf8(to.name);
        if (!source || !target) {
            return (!source ? source : target).error();
        }
        // One step, and on the disk when the call returns.
        return Done(::MoveFileExW(source->c_str(), target->c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    }

    FileDone Remove(const SystemPath& path) override {
        const auto name = windows::SystemNameOfUtf8(path.name);
        if (!name) {
            return name.error();
        }
        return Done(::DeleteFileW(name->c_str()));
    }

    // The rename above is written through: nothing left to do.
    FileDone SyncDirectory(const SystemPath& /*path*/) override { return {}; }

  private:
    static FileResult<std::unique_ptr<RecordFile>> OpenRecord(const std::string& path,
                                                              DWORD disposition, DWORD share,
                                                              WindowsRecordFile::NameCheck check) {
        auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        // A link in the period file's place is refused, dangling or not, its target never
        // touched; a read-only file is never written, whoever runs this.
        auto handle = OpenRegularFile(*name, {.access = GENERIC_READ | GENERIC_WRITE,
                                              .share = share,
                                              .disposition = disposition,
                                              .refuseReadOnly = true});
        return RecordFileOf(std::move(handle), std::move(*name), check);
    }

    static FileResult<std::unique_ptr<InputFile>> OpenSharedForReading(const std::string& path,
                                                                       bool refuseLinks) {
        const auto name = windows::SystemName(path);
        if (!name) {
            return name.error();
        }
        return InputFileOf(OpenRegularFile(
            *name, {.flags = FILE_FLAG_SEQUENTIAL_SCAN, .refuseLinks = refuseLinks}));
    }
};

}  // namespace

FileSystem& LocalFileSystem() {
    static WindowsFileSystem fileSystem;
    return fileSystem;
}

}  // namespace trevo

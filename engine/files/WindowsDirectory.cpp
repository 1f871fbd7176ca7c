#include "engine/files/WindowsDirectory.h"

#include "engine/files/WindowsError.h"
#include "engine/files/WindowsFileOpen.h"
#include "engine/files/WindowsInputFile.h"
#include "engine/files/WindowsPath.h"
#include "engine/files/WindowsRecordFile.h"

namespace trevo::windows {

namespace {

class WindowsDirectory final : public Directory {
  public:
    WindowsDirectory(Handle handle, std::wstring path)
        : handle_(std::move(handle)), path_(std::move(path)) {}

    FileResult<std::vector<std::string>> List() override { return NamesIn(path_); }

    FileResult<std::unique_ptr<Directory>> OpenDirectory(const std::string& name,
                                                         bool create) override {
        const auto joined = Within(path_, name);
        if (!joined) {
            return joined.error();
        }
        if (create && !::CreateDirectoryW(joined->c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return LastError();
        }
        return HoldDirectory(*joined, /*followLinks=*/false);
    }

    FileResult<std::unique_ptr<InputFile>> OpenForReading(const std::string& name) override {
        const auto joined = Within(path_, name);
        if (!joined) {
            return joined.error();
        }
        auto handle = OpenRegularFile(*joined, {.flags = FILE_FLAG_SEQUENTIAL_SCAN});
        if (!handle) {
            return handle.error();
        }
        return ReadingFrom(std::move(*handle));
    }

    FileResult<std::unique_ptr<RecordFile>> CreateNewFile(const std::string& name) override {
        const auto joined = Within(path_, name);
        if (!joined) {
            return joined.error();
        }
        // CREATE_NEW refuses whatever stands at the name, a link included.
        auto handle = OpenRegularFile(
            *joined, {.access = GENERIC_READ | GENERIC_WRITE, .disposition = CREATE_NEW});
        if (!handle) {
            return handle.error();
        }
        const auto index = FileIndex(handle->Get());
        if (!index) {
            return index.error();
        }
        return std::unique_ptr<RecordFile>(std::make_unique<WindowsRecordFile>(
            std::move(*handle), *joined, *index, WindowsRecordFile::NameCheck::Periodic));
    }

    FileDone Remove(const std::string& name) override {
        const auto joined = Within(path_, name);
        if (!joined) {
            return joined.error();
        }
        // A link is removed itself, never its target.
        if (!::DeleteFileW(joined->c_str())) {
            return LastError();
        }
        return {};
    }

    FileDone Rename(const std::string& from, const std::string& to) override {
        const auto source = Within(path_, from);
        const auto target = Within(path_, to);
        if (!source || !target) {
            return (!source ? source : target).error();
        }
        // Without MOVEFILE_REPLACE_EXISTING: a name that exists is never replaced.
        if (!::MoveFileExW(source->c_str(), target->c_str(), 0)) {
            return LastError();
        }
        return {};
    }

    bool MayChangeName(const std::string& name) override {
        // Renaming and removing both take delete access to the entry: asked for and given back
        // at once. It is refused while another program holds the file without sharing delete,
        // and for a file with the read-only attribute, which Windows never removes.
        const auto joined = Within(path_, name);
        if (!joined) {
            return false;
        }
        Handle probe(::CreateFileW(
            joined->c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
            nullptr));
        if (!probe.IsOpen()) {
            return false;
        }
        FILE_BASIC_INFO basic{};
        return ::GetFileInformationByHandleEx(probe.Get(), FileBasicInfo, &basic, sizeof basic) &&
               (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    }

    FileDone Sync() override {
        // Windows' file systems write their name changes through their own journal; flushing
        // a directory needs write access to it, so this is done where it is given and is no
        // failure where it is not.
        Handle writable(::CreateFileW(path_.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (writable.IsOpen()) {
            ::FlushFileBuffers(writable.Get());
        }
        return {};
    }

  private:
    Handle handle_;  // held only so that the directory cannot be renamed or removed meanwhile
    std::wstring path_;
};

}  // namespace

FileResult<std::unique_ptr<Directory>> HoldDirectory(const std::wstring& path, bool followLinks) {
    auto handle = OpenDirectoryHandle(
        path, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
        kShareReadWrite, !followLinks);
    if (!handle) {
        return handle.error();
    }
    // Names are joined to the directory's own path, not to a link's: a link retargeted later
    // cannot send them elsewhere.
    std::wstring held = path;
    if (followLinks) {
        if (auto final = FinalPath(handle->Get())) {
            held = std::move(*final);
        }
    }
    return std::unique_ptr<Directory>(
        std::make_unique<WindowsDirectory>(std::move(*handle), std::move(held)));
}

FileResult<std::vector<std::string>> NamesIn(const std::wstring& path) {
    std::wstring pattern = path;
    if (!pattern.ends_with(L'\\')) {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    std::vector<std::string> names;
    if (search == INVALID_HANDLE_VALUE) {
        // A drive's root has no "." entry: empty, it finds nothing.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
            return names;
        }
        return LastError();
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (auto converted = ToWin1250(name)) {
            names.push_back(std::move(*converted));
        }
    } while (::FindNextFileW(search, &found));
    const DWORD ended = ::GetLastError();
    ::FindClose(search);
    if (ended != ERROR_NO_MORE_FILES) {
        return ErrorFromCode(ended);
    }
    return names;
}

}  // namespace trevo::windows

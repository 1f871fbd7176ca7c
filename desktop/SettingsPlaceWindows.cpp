#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "desktop/SettingsPlace.h"
#include "engine/files/WindowsHandle.h"
#include "engine/files/WindowsPath.h"
#include "settingsfile/WindowSectionWrite.h"

namespace trevo::desktop {

namespace {

// The .exe's folder; empty when the system does not say.
std::string ProgramDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const auto separator = buffer.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return {};
    }
    // "C:\" keeps its separator: "C:" alone would be the drive's current directory.
    const bool root = separator == 2 && buffer[1] == L':';
    return windows::ToUtf8(buffer.substr(0, root ? separator + 1 : separator));
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path != nullptr) {
        folder = windows::ToUtf8(path);
    }
    ::CoTaskMemFree(path);
    return folder;
}

DWORD Attributes(const std::string& path) {
    const auto name = windows::SystemNameOfUtf8(path);
    return name ? ::GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
}

// Access rights are lists, not mode bits: whether a folder takes files is tried by creating
// one, which goes when its handle closes.
bool FolderTakesFiles(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\trevo2KPR-" + std::to_wstring(::GetCurrentProcessId()) +
                               L"-" + std::to_wstring(::GetTickCount64()) + L".tmp";
    const windows::Handle handle(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                               nullptr));
    return handle.IsOpen();
}

bool FileTakesWrites(const std::wstring& file) {
    const windows::Handle handle(::CreateFileW(
        file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.IsOpen();
}

}  // namespace

std::string DefaultSettingsPath() {
    const SettingsPlaceProbe probe{
        [](const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; },
        [](const std::string& path) {
            const DWORD attributes = Attributes(path);
            const auto name = windows::SystemNameOfUtf8(path);
            if (attributes == INVALID_FILE_ATTRIBUTES || !name) {
                return false;
            }
            return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FolderTakesFiles(*name)
                                                                : FileTakesWrites(*name);
        },
        [](const std::string& path) { return settings::IsReadOnlyFile(path); },
        [](const std::string& path) { return !path.empty(); },
    };
    const std::string programDir = ProgramDirectory();
    std::string appData = KnownFolder(FOLDERID_RoamingAppData);
    if (appData.empty()) {
        // No profile folder known: the program's own folder is all there is.
        appData = programDir;
    }
    return ChooseSettingsPath(programDir, appData, probe,
                              WindowsSystemFolders({KnownFolder(FOLDERID_ProgramFiles),
                                                    KnownFolder(FOLDERID_ProgramFilesX86),
                                                    KnownFolder(FOLDERID_Windows)}));
}

}  // namespace trevo::desktop

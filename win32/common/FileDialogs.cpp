#include "win32/common/FileDialogs.h"

#include <objbase.h>
#include <shobjidl.h>

#include "win32/common/ComRef.h"

namespace trevo::win32 {

namespace {

struct CoTaskString {
    PWSTR text = nullptr;
    CoTaskString() = default;
    CoTaskString(const CoTaskString&) = delete;
    CoTaskString& operator=(const CoTaskString&) = delete;
    ~CoTaskString() { ::CoTaskMemFree(text); }
};

void SetFolder(IFileDialog& dialog, const std::wstring& folder) {
    if (folder.empty()) {
        return;
    }
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return;
    }
    ComRef<IShellItem> item;
    if (SUCCEEDED(::SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem,
                                                reinterpret_cast<void**>(item.Out())))) {
        dialog.SetFolder(item.Get());
    }
}

// Shows the dialog; the chosen item's file system path.
std::optional<std::wstring> ShowAndTake(IFileDialog& dialog, HWND owner) {
    if (FAILED(dialog.Show(owner))) {
        return std::nullopt;  // cancelled, or failed
    }
    ComRef<IShellItem> item;
    if (FAILED(dialog.GetResult(item.Out()))) {
        return std::nullopt;
    }
    CoTaskString path;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path.text)) || path.text == nullptr) {
        return std::nullopt;
    }
    return std::wstring(path.text);
}

}  // namespace

std::optional<std::wstring> ChooseOpenFile(HWND owner, const OpenFileOptions& options) {
    ComRef<IFileOpenDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFileOpenDialog, reinterpret_cast<void**>(dialog.Out())))) {
        return std::nullopt;
    }
    std::vector<COMDLG_FILTERSPEC> filters;
    for (const FileFilter& filter : options.filters) {
        filters.push_back({filter.text.c_str(), filter.pattern.c_str()});
    }
    if (!filters.empty()) {
        dialog->SetFileTypes(static_cast<UINT>(filters.size()), filters.data());
        dialog->SetFileTypeIndex(1);
    }
    FILEOPENDIALOGOPTIONS flags = 0;
    dialog->GetOptions(&flags);
    dialog->SetOptions(flags | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_FILEMUSTEXIST);
    dialog->SetTitle(options.title.c_str());
    if (!options.defaultSuffix.empty()) {
        dialog->SetDefaultExtension(options.defaultSuffix.c_str());
    }
    if (!options.initialName.empty()) {
        dialog->SetFileName(options.initialName.c_str());
    }
    SetFolder(*dialog.Get(), options.initialFolder);
    return ShowAndTake(*dialog.Get(), owner);
}

std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title,
                                         const std::wstring& initialFolder) {
    ComRef<IFileOpenDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFileOpenDialog, reinterpret_cast<void**>(dialog.Out())))) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS flags = 0;
    dialog->GetOptions(&flags);
    dialog->SetOptions(flags | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(title.c_str());
    SetFolder(*dialog.Get(), initialFolder);
    return ShowAndTake(*dialog.Get(), owner);
}

}  // namespace trevo::win32

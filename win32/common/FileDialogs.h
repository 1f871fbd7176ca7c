#pragma once
// The system's open-file and folder dialogs (IFileDialog). The calling thread has COM
// initialised (apartment-threaded), as the program's entry does.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace trevo::win32 {

struct FileFilter {
    std::wstring text;
    std::wstring pattern;  // "*.kpm", or several joined by ";"
};

struct OpenFileOptions {
    std::wstring title;
    std::vector<FileFilter> filters;
    std::wstring defaultSuffix;  // without the dot
    // Where the dialog opens; empty or missing: where the system last left it.
    std::wstring initialFolder;
    std::wstring initialName;
};

// The chosen file's full path (which exists); nothing when the user cancelled or the dialog
// could not be shown.
std::optional<std::wstring> ChooseOpenFile(HWND owner, const OpenFileOptions& options);

// The chosen folder's full path; nothing when cancelled.
std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title,
                                         const std::wstring& initialFolder);

}  // namespace trevo::win32

#include "win32/common/ProgramFile.h"

#include <windows.h>

namespace trevo::win32 {

std::wstring ProgramFilePath() {
    // GetModuleFileNameW cuts a path longer than its buffer: grown until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace trevo::win32

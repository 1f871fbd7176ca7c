// Started by the standard handles test with its standard handles missing or not handles of its
// own: takes them as the command line does, then opens many files in the folder DIR and prints
// to standard output and standard error. None of the files may receive what it printed.
// Exits 0 when each standard handle is now a handle that takes no writes (the null device,
// for reading only), 3 when one is still missing, 4 when one takes writes.
//   standard_handles_probe DIR

#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/platform/StandardDescriptors.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 || !trevo::OpenClosedStandardDescriptors()) {
        return 2;
    }
    std::vector<HANDLE> files;
    for (int i = 0; i < 64; ++i) {
        const std::wstring name = std::wstring(argv[1]) + L"\\file" + std::to_wstring(i);
        files.push_back(::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    std::fputs("printed to stdout\n", stdout);
    std::fflush(stdout);
    std::fputs("printed to stderr\n", stderr);
    std::fflush(stderr);
    int status = 0;
    for (const DWORD standard : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = ::GetStdHandle(standard);
        DWORD flags = 0;
        DWORD written = 0;
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
            !::GetHandleInformation(handle, &flags)) {
            status = 3;
        } else if (::WriteFile(handle, "written to the handle\n", 22, &written, nullptr)) {
            status = 4;
        }
    }
    for (const HANDLE file : files) {
        ::CloseHandle(file);
    }
    return status;
}

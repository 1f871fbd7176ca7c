#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>

#include "engine/platform/StandardDescriptors.h"

namespace trevo {

namespace {

// A standard handle that is missing, or a number the parent passed that is no handle of this
// process: the first file the program opens could get that very number, and the C runtime's
// stdout would then write into it.
bool Unusable(HANDLE handle) {
    DWORD flags = 0;
    return handle == nullptr || handle == INVALID_HANDLE_VALUE ||
           !::GetHandleInformation(handle, &flags);
}

}  // namespace

// Each of the three is put on NUL, opened for reading only, both as the C runtime's descriptor
// and as the process's standard handle: what the program prints there fails, as it did.
bool OpenClosedStandardDescriptors() {
    constexpr std::array<DWORD, 3> kStandard = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE,
                                                STD_ERROR_HANDLE};
    for (int fd = 0; fd <= 2; ++fd) {
        if (!Unusable(::GetStdHandle(kStandard[fd]))) {
            continue;
        }
        const int opened = ::_wopen(L"NUL", _O_RDONLY | _O_BINARY);
        if (opened < 0) {
            return false;
        }
        const bool placed = opened == fd || ::_dup2(opened, fd) == 0;
        if (opened != fd) {
            ::_close(opened);
        }
        const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
        if (!placed || Unusable(handle) || !::SetStdHandle(kStandard[fd], handle)) {
            return false;
        }
    }
    return true;
}

}  // namespace trevo

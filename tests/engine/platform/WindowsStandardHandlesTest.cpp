// A program started without standard handles, or with numbers that are no handles of its own
// (a parent that passed handles it did not let it inherit), must not print into the first
// files it opens: the Windows side of closed descriptors 0-2.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "testing/TempDirectory.h"

namespace trevo {
namespace {

// The probe's exit code, or -1 when it could not be started.
int RunProbe(const std::string& dir, HANDLE standard) {
    std::wstring line =
        L"\"" TREVO_STANDARD_HANDLES_PROBE L"\" \"" + std::filesystem::path(dir).wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = standard;
    startup.hStdOutput = standard;
    startup.hStdError = standard;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return -1;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

void ExpectNothingPrintedIntoFiles(HANDLE standard) {
    testing::TempDirectory dir;
    ASSERT_EQ(RunProbe(dir.Path().string(), standard), 0);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++files;
        EXPECT_EQ(testing::ReadFileBytes(entry.path().string()), "") << entry.path();
    }
    EXPECT_EQ(files, 64);
}

TEST(WindowsStandardHandles, MissingHandlesAreNotTakenByFiles) {
    ExpectNothingPrintedIntoFiles(nullptr);
    ExpectNothingPrintedIntoFiles(INVALID_HANDLE_VALUE);
}

// Windows copies the numbers a parent names as they are; Wine hands the child none for a number
// that is no handle of the parent. Either way the program must end up with the null device.
TEST(WindowsStandardHandles, NumbersThatAreNoHandlesOfTheProgramAreNotTakenByFiles) {
    for (const ULONG_PTR number : {0x1F4, 0x7D0, 0x4E20, 0xFFFC}) {
        SCOPED_TRACE(number);
        DWORD flags = 0;
        const auto standard = reinterpret_cast<HANDLE>(number);
        ASSERT_FALSE(::GetHandleInformation(standard, &flags)) << "a handle of the test";
        ExpectNothingPrintedIntoFiles(standard);
    }
}

}  // namespace
}  // namespace trevo

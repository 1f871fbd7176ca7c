#include "tests/windows/WindowsChild.h"

#include <thread>
#include <utility>

#include "cli/WideText.h"

namespace trevo::windows_tests {

namespace {

// One argument quoted as CommandLineToArgvW and the C runtime read it back.
std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

void Close(HANDLE& handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
    }
    handle = nullptr;
}

// A pipe whose write end the child inherits.
bool MakePipe(HANDLE& ours, HANDLE& theirs) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!::CreatePipe(&ours, &theirs, &inherit, 4096)) {
        return false;
    }
    ::SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
    return true;
}

std::string ReadAll(HANDLE pipe) {
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (pipe != nullptr && ::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

}  // namespace

std::wstring CliPath() {
    std::wstring path = cli::Utf8ToWide(TREVO_CLI_PATH);
    // Built on Linux and run under Wine: the build's path is on drive Z.
    if (path.starts_with(L"/")) {
        for (wchar_t& c : path) {
            c = c == L'/' ? L'\\' : c;
        }
        path = L"Z:" + path;
    }
    return path;
}

WindowsChild::WindowsChild(const std::vector<std::string>& args, const ChildOptions& options) {
    std::wstring commandLine = Quoted(CliPath());
    for (const std::string& arg : args) {
        commandLine += L" " + Quoted(cli::Utf8ToWide(arg));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    HANDLE childOut = nullptr;
    HANDLE childErr = nullptr;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    switch (options.output) {
        case Output::Pipe:
            MakePipe(out_, childOut);
            MakePipe(err_, childErr);
            break;
        case Output::File:
            childOut = ::CreateFileW(options.outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                     &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            MakePipe(err_, childErr);
            break;
        case Output::Nul:
            childOut = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherit, OPEN_EXISTING, 0, nullptr);
            ::DuplicateHandle(::GetCurrentProcess(), childOut, ::GetCurrentProcess(), &childErr, 0,
                              TRUE, DUPLICATE_SAME_ACCESS);
            break;
        case Output::Console:
        case Output::Missing:
            break;
    }
    if (options.output != Output::Console) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = childOut;
        startup.hStdError = childErr;
    }
    PROCESS_INFORMATION info{};
    const DWORD flags =
        CREATE_UNICODE_ENVIRONMENT | (options.newProcessGroup ? CREATE_NEW_PROCESS_GROUP : 0);
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr,
                         options.output != Output::Console, flags, nullptr, nullptr, &startup,
                         &info)) {
        process_ = info.hProcess;
        id_ = info.dwProcessId;
        ::CloseHandle(info.hThread);
    }
    // The child holds its ends now: the pipes end when it does.
    Close(childOut);
    Close(childErr);
}

WindowsChild::~WindowsChild() {
    if (process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, INFINITE);
    }
    Close(out_);
    Close(err_);
    Close(process_);
}

bool WindowsChild::WaitUntilOutputBlocks() const {
    for (int i = 0; i < 2000; ++i) {
        DWORD available = 0;
        if (!::PeekNamedPipe(out_, nullptr, 0, nullptr, &available, nullptr)) {
            return false;
        }
        if (available >= 4096) {
            ::Sleep(200);  // the child is in its write, after the record it booked
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

ChildResult WindowsChild::Finish() {
    ChildResult result;
    std::thread errors([this, &result] { result.err = ReadAll(err_); });
    result.out = ReadAll(out_);
    errors.join();
    if (process_ == nullptr) {
        result.exitCode = 255;
        return result;
    }
    if (::WaitForSingleObject(process_, 60000) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, INFINITE);
    }
    ::GetExitCodeProcess(process_, &result.exitCode);
    return result;
}

ChildResult RunCli(const std::vector<std::string>& args, const ChildOptions& options) {
    WindowsChild child(args, options);
    return child.Finish();
}

}  // namespace trevo::windows_tests

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/ProcessRunner.h"
#include "testing/TempDirectory.h"

namespace trevo::testing {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

// One argument as the C runtime's parser splits a command line back: quoted, with the
// backslashes before a quote (and before the closing quote) doubled.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// The inherited environment with `additions` after it: a later entry of a name wins.
std::wstring EnvironmentBlock(const std::vector<std::string>& additions) {
    std::wstring block;
    if (wchar_t* inherited = ::GetEnvironmentStringsW()) {
        for (const wchar_t* entry = inherited; *entry != L'\0'; entry += wcslen(entry) + 1) {
            const std::wstring text(entry);
            bool replaced = false;
            for (const std::string& addition : additions) {
                const std::wstring name = Wide(addition.substr(0, addition.find('=') + 1));
                replaced = replaced || _wcsnicmp(text.c_str(), name.c_str(), name.size()) == 0;
            }
            if (!replaced) {
                block += text;
                block += L'\0';
            }
        }
        ::FreeEnvironmentStringsW(inherited);
    }
    for (const std::string& addition : additions) {
        block += Wide(addition);
        block += L'\0';
    }
    block += L'\0';
    return block;
}

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (Valid()) {
            ::CloseHandle(handle_);
        }
    }
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

HANDLE InheritableOutput(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(std::filesystem::path(Wide(path)).c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment,
                         const std::string& stdoutPath) {
    TempDirectory outputs;
    const std::string outPath = stdoutPath.empty() ? outputs.File("out") : stdoutPath;
    const std::string errPath = outputs.File("err");
    ProcessResult result;
    std::string failures;
    {
        const Handle out(InheritableOutput(outPath));
        const Handle err(InheritableOutput(errPath));
        std::wstring line;
        AppendQuoted(line, Wide(program));
        for (const std::string& arg : args) {
            line += L' ';
            AppendQuoted(line, Wide(arg));
        }
        std::wstring block = EnvironmentBlock(environment);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        PROCESS_INFORMATION process{};
        const auto start = std::chrono::steady_clock::now();
        // Wine now and then fails a start under load; nothing has run then, so the start is
        // tried again. A start that failed for good, or a status that cannot be read, is named
        // in what the caller reads as stderr; a start that failed before one that worked, in
        // the test's own.
        bool started = false;
        for (int attempt = 0; attempt < 3 && out.Valid() && err.Valid() && !started; ++attempt) {
            started = ::CreateProcessW(Wide(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                                       CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup,
                                       &process) != 0;
            if (!started) {
                failures += "RunProcess: CreateProcessW failed, error " +
                            std::to_string(::GetLastError()) + "\n";
                ::Sleep(200);
            }
        }
        if (!out.Valid() || !err.Valid()) {
            failures += "RunProcess: cannot create the output files\n";
        }
        if (started && !failures.empty()) {
            std::fputs(failures.c_str(), stderr);
            failures.clear();
        }
        if (started) {
            const Handle child(process.hProcess);
            const Handle thread(process.hThread);
            ::WaitForSingleObject(child.Get(), INFINITE);
            result.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            DWORD code = 0;
            if (::GetExitCodeProcess(child.Get(), &code)) {
                result.exitCode = static_cast<int>(code);
            } else {
                failures += "RunProcess: GetExitCodeProcess failed, error " +
                            std::to_string(::GetLastError()) + "\n";
            }
            PROCESS_MEMORY_COUNTERS memory{};
            if (::K32GetProcessMemoryInfo(child.Get(), &memory, sizeof memory)) {
                result.maxRssKiB = static_cast<long>(memory.PeakWorkingSetSize / 1024);
            }
        }
    }
    if (stdoutPath.empty()) {
        result.out = ReadFileBytes(outPath);
    }
    result.err = ReadFileBytes(errPath) + failures;
    return result;
}

}  // namespace trevo::testing

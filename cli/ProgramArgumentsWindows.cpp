#include "cli/ProgramArguments.h"

#include <windows.h>

// After windows.h, whose types it takes.
#include <shellapi.h>

#include <memory>

#include "cli/WideText.h"

namespace trevo::cli {

namespace {

struct LocalFreeDeleter {
    void operator()(LPWSTR* list) const { ::LocalFree(list); }
};

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!wide) {
        // Without the wide form the narrow one is still the best there is.
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> args;
    args.reserve(count > 0 ? static_cast<std::size_t>(count - 1) : 0);
    for (int i = 1; i < count; ++i) {
        args.push_back(WideToUtf8(wide.get()[i]));
    }
    return args;
}

}  // namespace trevo::cli

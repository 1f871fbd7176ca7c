#include "testing/ProcessRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "testing/TempDirectory.h"

extern char** environ;

namespace trevo::testing {

namespace {

class SpawnFileActions {
  public:
    SpawnFileActions() { posix_spawn_file_actions_init(&actions_); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
    posix_spawn_file_actions_t* Get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment,
                         const std::string& stdoutPath) {
    TempDirectory outputs;
    const std::string outPath = stdoutPath.empty() ? outputs.File("out") : stdoutPath;
    const std::string errPath = outputs.File("err");

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        envp.push_back(*e);
    }
    for (const std::string& entry : environment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);

    SpawnFileActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), 1, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(actions.Get(), 2, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ProcessResult result;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), actions.Get(), nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        rusage usage{};
        pid_t waited = 0;
        do {
            waited = wait4(pid, &status, 0, &usage);
        } while (waited < 0 && errno == EINTR);
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (waited == pid) {
            result.maxRssKiB = usage.ru_maxrss;
            if (WIFEXITED(status)) {
                result.exitCode = WEXITSTATUS(status);
            }
        }
    }
    if (stdoutPath.empty()) {
        result.out = ReadFileBytes(outPath);
    }
    result.err = ReadFileBytes(errPath);
    return result;
}

}  // namespace trevo::testing

#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>

extern char** environ;

namespace trevo::bench {

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

ChildCost RunChild(const std::string& program, const std::vector<std::string>& args,
                   const std::string& stdoutPath) {
    std::vector<std::string> argvStrings{program};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    SpawnFileActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), 1, stdoutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);

    ChildCost cost;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), actions.Get(), nullptr, argv.data(), environ) != 0) {
        return cost;
    }
    cost.started = true;
    int status = 0;
    rusage usage{};
    pid_t waited = 0;
    do {
        waited = wait4(pid, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    cost.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (waited == pid) {
        cost.maxRssKb = usage.ru_maxrss;
        if (WIFEXITED(status)) {
            cost.exitCode = WEXITSTATUS(status);
        }
    }
    return cost;
}

}  // namespace trevo::bench

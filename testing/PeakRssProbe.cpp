// Runs a program and prints its exit code and peak resident set in KiB: "EXIT KIB".
//   peak_rss_probe PROGRAM [ARGS...]
// The program's output goes to /dev/null. The kernel counts into a new process's peak the
// memory of the process it was started from, so a large test process cannot measure its child
// directly: this small one starts it instead.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: peak_rss_probe PROGRAM [ARGS...]\n");
        return 2;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        return 1;
    }
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null < 0 || ::dup2(null, 1) < 0 || ::dup2(null, 2) < 0) {
            ::_exit(126);
        }
        ::execv(argv[1], argv + 1);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    pid_t waited;
    while ((waited = ::wait4(pid, &status, 0, &usage)) < 0 && errno == EINTR) {
    }
    if (waited != pid) {
        return 1;
    }
    std::printf("%d %ld\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss);
    return 0;
}

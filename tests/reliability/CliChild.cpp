#include "tests/reliability/CliChild.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

namespace trevo::reliability {

namespace {

[[noreturn]] void Exec(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    const std::string program = TREVO_CLI_PATH;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(126);
}

}  // namespace

CliChild::CliChild(const std::vector<std::string>& args, const CliOptions& options) {
    std::fflush(nullptr);
    if (options.out == Stdout::Terminal) {
        int master = -1;
        pid_ = ::forkpty(&master, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            // Line ends as the program writes them (no CR added before LF), nothing echoed, and
            // what the program printed kept when Ctrl+C is typed.
            termios mode{};
            ::tcgetattr(STDOUT_FILENO, &mode);
            mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
            mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            mode.c_lflag |= NOFLSH;
            ::tcsetattr(STDOUT_FILENO, TCSANOW, &mode);
            Exec(args);
        }
        out_ = master;
        return;
    }
    int fds[2] = {-1, -1};
    if (options.out == Stdout::Pipe || options.out == Stdout::PipeClosed) {
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        if (options.ignoreHangup) {
            ::signal(SIGHUP, SIG_IGN);
        }
        if (fds[1] >= 0) {
            ::dup2(fds[1], STDOUT_FILENO);
        } else if (options.out == Stdout::Closed) {
            ::close(STDOUT_FILENO);
        }
        if (options.closeStdin) {
            ::close(STDIN_FILENO);
        }
        if (options.closeStderr) {
            ::close(STDERR_FILENO);
        }
        Exec(args);
    }
    if (fds[1] >= 0) {
        ::close(fds[1]);
    }
    if (options.out == Stdout::PipeClosed) {
        ::close(fds[0]);  // nobody will read: the first write fails
    } else {
        out_ = fds[0];
    }
}

CliChild::~CliChild() {
    if (out_ >= 0) {
        ::close(out_);
    }
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
}

bool CliChild::WaitUntilOutputBlocks() const {
    const int capacity = ::fcntl(out_, F_GETPIPE_SZ);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int pending = 0;
        if (::ioctl(out_, FIONREAD, &pending) == 0 && pending >= capacity) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

std::string CliChild::ReadToEnd() {
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;  // the end, or EIO once a terminal's other side is gone
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

int CliChild::Wait() {
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid_, &status, 0);
    } while (waited < 0 && errno == EINTR);
    pid_ = -1;
    if (waited < 0) {
        return -1;
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsTerminalAvailable() {
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        return false;
    }
    ::close(master);
    ::close(slave);
    return true;
}

}  // namespace trevo::reliability

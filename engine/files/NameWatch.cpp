#include "engine/files/NameWatch.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/platform/SignalFlags.h"

namespace trevo {

namespace {

// What can make a path lead elsewhere: an entry removed or moved away (DN_DELETE) or renamed
// (DN_RENAME). In the file's own directory also a name moved in over the file's (DN_CREATE,
// which reports every new name too); a directory on the way holds the rest of the path, and a
// directory that is not empty cannot be replaced that way. (A link on the way can, and that
// goes unseen.) Directories such as /tmp see many new names, so they are spared.
constexpr unsigned long kWayEvents = DN_DELETE | DN_RENAME | DN_MULTISHOT;
constexpr unsigned long kOwnDirectoryEvents = kWayEvents | DN_CREATE;

// Every directory in which a component of `path` is looked up.
std::vector<std::string> DirectoriesAlong(const std::string& path) {
    std::vector<std::string> directories;
    const std::size_t last = path.rfind('/');
    if (last == std::string::npos) {
        directories.emplace_back(".");
        return directories;
    }
    directories.emplace_back(path[0] == '/' ? "/" : ".");
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos && slash <= last;
         slash = path.find('/', slash + 1)) {
        if (slash > 0 && path[slash - 1] != '/') {
            directories.push_back(path.substr(0, slash));
        }
    }
    return directories;
}

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

void CountNameEvent(int) {
    signal_flags::nameEvents.fetch_add(1, std::memory_order_release);
}

// Installs the counting handler for SIGIO, once: a program that set up SIGIO itself keeps its
// handler, and then no watch is made. SIGIO is what directory notification sends.
bool CountSignals() {
    struct sigaction current {};
    if (::sigaction(SIGIO, nullptr, &current) != 0) {
        return false;
    }
    if (current.sa_handler == CountNameEvent) {
        return true;
    }
    if (current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN) {
        return false;
    }
    struct sigaction count {};
    count.sa_handler = CountNameEvent;
    sigemptyset(&count.sa_mask);
    // Whatever the thread was doing resumes: a signal here is news, not a request.
    count.sa_flags = SA_RESTART;
    return ::sigaction(SIGIO, &count, nullptr) == 0;
}

}  // namespace

NameWatch::NameWatch(const std::string& nativePath) {
    if (!CountSignals()) {
        return;
    }
    std::vector<std::string> directories = DirectoriesAlong(nativePath);
    const std::string own = directories.back();
    // Links on the way lead through other directories, which must be watched too.
    const std::size_t last = nativePath.rfind('/');
    const std::string parent = last == std::string::npos ? "." : nativePath.substr(0, last + 1);
    const std::unique_ptr<char, FreeDeleter> real(::realpath(parent.c_str(), nullptr));
    if (real) {
        for (std::string& directory : DirectoriesAlong(std::string(real.get()) + "/x")) {
            if (std::find(directories.begin(), directories.end(), directory) == directories.end()) {
                directories.push_back(std::move(directory));
            }
        }
    }
    seen_ = signal_flags::nameEvents.load(std::memory_order_acquire);
    for (const std::string& directory : directories) {
        const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return;
        }
        directoryFds_.push_back(fd);
        if (::fcntl(fd, F_NOTIFY, directory == own ? kOwnDirectoryEvents : kWayEvents) != 0) {
            return;
        }
        // To this thread, the one that appends: in a process with other threads (the window's
        // toolkit has some) the signal could otherwise be taken by one of them, later than this
        // thread's next append.
        const f_owner_ex owner{F_OWNER_TID, ::gettid()};
        if (::fcntl(fd, F_SETOWN_EX, &owner) != 0) {
            return;
        }
    }
    watching_ = true;
}

NameWatch::~NameWatch() {
    for (const int fd : directoryFds_) {
        ::close(fd);
    }
}

bool NameWatch::Quiet() {
    if (!watching_) {
        return false;
    }
    const unsigned now = signal_flags::nameEvents.load(std::memory_order_acquire);
    if (now == seen_) {
        return true;
    }
    // The notice may be about another name or another watch; the caller looks its name up.
    seen_ = now;
    return false;
}

}  // namespace trevo

#include "tests/reliability/ChildProcess.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace trevo::reliability {

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteProcFile(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = WriteAll(fd, text.data(), text.size());
    return ::close(fd) == 0 && ok;
}

}  // namespace

ChildResult RunInChild(const std::function<int(std::string& output)>& body) {
    int fds[2];
    ChildResult result;
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return result;
    }
    std::fflush(nullptr);  // nothing buffered is printed twice
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return result;
    }
    if (pid == 0) {
        ::close(fds[0]);
        std::string output;
        const int code = body(output);
        const bool sent = WriteAll(fds[1], output.data(), output.size());
        ::_exit(sent ? code : 125);
    }
    ::close(fds[1]);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool IsRoot() {
    return ::geteuid() == 0;
}

UnprivilegedUser Nobody() {
    UnprivilegedUser user{65534, 65534};
    if (const passwd* entry = ::getpwnam("nobody")) {
        user.uid = entry->pw_uid;
        user.gid = entry->pw_gid;
    }
    return user;
}

bool DropPrivileges() {
    if (!IsRoot()) {
        return true;
    }
    const UnprivilegedUser user = Nobody();
    return ::setgroups(0, nullptr) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0 &&
           ::geteuid() == user.uid && ::setuid(0) != 0;  // and there is no way back
}

bool MountSmallTmpfs(const std::string& dir, unsigned long sizeBytes) {
    if (::unshare(CLONE_NEWNS) != 0) {
        // A normal user may still own a mount namespace inside a user namespace of its own.
        const unsigned uid = ::getuid();
        const unsigned gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            !WriteProcFile("/proc/self/setgroups", "deny") ||
            !WriteProcFile("/proc/self/uid_map",
                           std::to_string(uid) + " " + std::to_string(uid) + " 1") ||
            !WriteProcFile("/proc/self/gid_map",
                           std::to_string(gid) + " " + std::to_string(gid) + " 1")) {
            return false;
        }
    }
    // Nothing mounted here may reach the rest of the machine.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return false;
    }
    const std::string options = "size=" + std::to_string(sizeBytes) + ",mode=0755";
    return ::mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

void AppendBlob(std::string& out, const std::string& bytes) {
    const auto size = static_cast<std::uint64_t>(bytes.size());
    out.append(reinterpret_cast<const char*>(&size), sizeof size);
    out += bytes;
}

void AppendLines(std::string& out, const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
        AppendBlob(joined, line);
    }
    AppendBlob(out, joined);
}

std::string BlobReader::Blob() {
    std::uint64_t size = 0;
    if (pos_ + sizeof size > bytes_.size()) {
        pos_ = bytes_.size();
        return {};
    }
    bytes_.copy(reinterpret_cast<char*>(&size), sizeof size, pos_);
    pos_ += sizeof size;
    std::string blob = bytes_.substr(pos_, static_cast<std::size_t>(size));
    pos_ += blob.size();
    return blob;
}

std::vector<std::string> BlobReader::Lines() {
    const std::string joined = Blob();
    BlobReader inner(joined);
    std::vector<std::string> lines;
    while (!inner.AtEnd()) {
        lines.push_back(inner.Blob());
    }
    return lines;
}

}  // namespace trevo::reliability

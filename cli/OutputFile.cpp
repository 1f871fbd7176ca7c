#include "cli/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace trevo::cli {

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error) {
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const std::string temporary(name.data());
    bool written = ::fchmod(fd, 0644) == 0;
    std::size_t done = 0;
    while (written && done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        written = wrote > 0;
        done += written ? static_cast<std::size_t>(wrote) : 0;
    }
    if (!written) {
        error = std::strerror(errno != 0 ? errno : EIO);
    }
    if (::close(fd) != 0 && written) {
        error = std::strerror(errno);
        written = false;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        written = false;
    }
    if (!written) {
        ::unlink(temporary.c_str());
    }
    return written;
}

}  // namespace trevo::cli

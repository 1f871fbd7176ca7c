#include "engine/files/PosixInputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "engine/files/PosixFileCalls.h"

namespace trevo {

PosixInputFile::PosixInputFile(int fd, const struct stat& opened)
    : fd_(fd), size_(static_cast<std::uint64_t>(opened.st_size)), opened_(opened) {}

FileResult<std::size_t> PosixInputFile::Read(char* buffer, std::size_t capacity) {
    ssize_t got;
    do {
        got = ::read(fd_.Get(), buffer, capacity);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return LastError();
    }
    return static_cast<std::size_t>(got);
}

bool PosixInputFile::ChangedSinceOpen() {
    struct stat now {};
    return ::fstat(fd_.Get(), &now) != 0 || now.st_size != opened_.st_size ||
           now.st_mtim.tv_sec != opened_.st_mtim.tv_sec ||
           now.st_mtim.tv_nsec != opened_.st_mtim.tv_nsec;
}

FileResult<std::unique_ptr<InputFile>> OpenRegularForReading(int dir, const std::string& name,
                                                             int flags) {
    auto opened = OpenRegular(dir, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags);
    if (!opened) {
        return opened.error();
    }
    if (!ClearNonBlocking(opened->fd.Get())) {
        return LastError();
    }
    return std::unique_ptr<InputFile>(
        std::make_unique<PosixInputFile>(opened->fd.Release(), opened->info));
}

}  // namespace trevo

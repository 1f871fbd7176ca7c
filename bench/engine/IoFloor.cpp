#include "bench/engine/IoFloor.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <vector>

namespace trevo::bench {

namespace {

constexpr std::size_t kReadBuffer = 64 * 1024;
constexpr std::size_t kRecordSize = 400;

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::optional<LineCount> ReadLines(const std::string& path) {
    const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return std::nullopt;
    }
    std::vector<char> buffer(kReadBuffer);
    LineCount count;
    std::uint64_t lineLength = 0;
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer.data(), buffer.size());
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        const char* p = buffer.data();
        const char* const end = p + got;
        while (p != end) {
            const auto* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
            if (lf == nullptr) {
                lineLength += static_cast<std::uint64_t>(end - p);
                break;
            }
            lineLength += static_cast<std::uint64_t>(lf - p);
            ++count.lines;
            count.bytes += lineLength;
            lineLength = 0;
            p = lf + 1;
        }
    }
    if (lineLength > 0) {
        ++count.lines;
        count.bytes += lineLength;
    }
    return count;
}

bool AppendRecords(const std::string& path, std::uint64_t count) {
    const Fd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
        return false;
    }
    std::array<char, kRecordSize> record{};
    std::memset(record.data(), 'r', record.size());
    for (std::uint64_t i = 0; i < count; ++i) {
        const off_t size = ::lseek(fd.Get(), 0, SEEK_END);
        if (size < 0) {
            return false;
        }
        const auto offset = static_cast<off_t>(size / kRecordSize * kRecordSize);
        const auto seqNo = static_cast<std::uint32_t>(offset / kRecordSize + 1);
        std::memcpy(record.data(), &seqNo, sizeof seqNo);
        if (::pwrite(fd.Get(), record.data(), record.size(), offset) !=
            static_cast<ssize_t>(record.size())) {
            return false;
        }
    }
    return true;
}

}  // namespace trevo::bench

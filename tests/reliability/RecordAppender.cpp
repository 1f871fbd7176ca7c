// A second writer for the concurrency test: appends COUNT whole 400-byte records to a period file
// the way the converter does (size, position at the last whole record, one write), each holding
// the seqNo of its slot, its own index and the MARKER byte in every other position.
//   ledger_record_appender PATH COUNT MARKER
// Waits (up to ten seconds) for PATH to appear, so that it starts while a run is writing.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: ledger_record_appender PATH COUNT MARKER\n");
        return 2;
    }
    const char* path = argv[1];
    const long count = std::atol(argv[2]);
    const auto marker = static_cast<std::uint8_t>(std::atoi(argv[3]));

    int fd = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((fd = ::open(path, O_RDWR | O_CLOEXEC)) < 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "%s did not appear\n", path);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }

    std::array<std::uint8_t, 400> record;
    record.fill(marker);
    for (long i = 0; i < count; ++i) {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            return 1;
        }
        const off_t slot = info.st_size / 400;
        const auto seqNo = static_cast<std::uint32_t>(slot + 1);
        const auto index = static_cast<std::uint32_t>(i);
        for (int b = 0; b < 4; ++b) {
            record[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(seqNo >> (8 * b));
            record[static_cast<std::size_t>(4 + b)] = static_cast<std::uint8_t>(index >> (8 * b));
        }
        if (::lseek(fd, slot * 400, SEEK_SET) != slot * 400 ||
            ::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
            return 1;
        }
    }
    return ::close(fd) == 0 ? 0 : 1;
}

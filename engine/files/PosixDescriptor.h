#pragma once
// One open file descriptor, closed when its owner goes.

#include <unistd.h>

namespace trevo {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    bool IsOpen() const { return fd_ >= 0; }
    // False with errno set when the close failed.
    bool Close() {
        if (fd_ < 0) {
            return true;
        }
        const int fd = fd_;
        fd_ = -1;
        // After a failed close the descriptor is gone all the same (POSIX leaves it
        // unspecified, Linux always releases it): never close it twice.
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

}  // namespace trevo

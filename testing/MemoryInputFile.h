#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/files/InputFile.h"

namespace trevo::testing {

// An input file over bytes in memory; `failAfter` bytes read, reading fails.
class MemoryInputFile final : public InputFile {
  public:
    explicit MemoryInputFile(std::string bytes, std::size_t failAfter = std::string::npos)
        : bytes_(std::move(bytes)), failAfter_(failAfter) {}

    FileResult<std::size_t> Read(char* buffer, std::size_t capacity) override {
        if (pos_ >= failAfter_) {
            return std::make_error_code(std::errc::io_error);
        }
        const std::size_t limit = std::min(bytes_.size(), failAfter_);
        const std::size_t n = std::min(capacity, limit - std::min(limit, pos_));
        std::memcpy(buffer, bytes_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    std::uint64_t SizeAtOpen() const override { return bytes_.size(); }

  private:
    std::string bytes_;
    std::size_t failAfter_;
    std::size_t pos_ = 0;
};

}  // namespace trevo::testing

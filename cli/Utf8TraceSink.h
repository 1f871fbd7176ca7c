#pragma once

#include <cstdio>
#include <string>

#include "cli/TraceOutput.h"

namespace trevo::cli {

// Prints trace lines as UTF-8, one output line per trace line; a line holding CR LF prints as
// several lines. Output is LF-terminated and written in large blocks.
class Utf8TraceSink final : public OutputTraceSink {
  public:
    explicit Utf8TraceSink(std::FILE* out) : out_(out) {}
    Utf8TraceSink(const Utf8TraceSink&) = delete;
    Utf8TraceSink& operator=(const Utf8TraceSink&) = delete;
    ~Utf8TraceSink() override { Flush(); }

    void AppendLine(std::string_view line) override;
    bool Flush() override;

  private:
    std::FILE* out_;
    std::string pending_;  // the first used_ bytes are the trace not yet written
    std::size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace trevo::cli

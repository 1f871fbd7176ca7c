#pragma once
// Trace sinks for tests, fuzzers and benchmarks: one that keeps nothing, one that keeps every
// line.

#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/TraceSink.h"

namespace trevo::testing {

// Keeps nothing; for check runs whose report nobody reads.
class NullTraceSink final : public TraceSink {
  public:
    void AppendLine(std::string_view) override {}
};

// Keeps every line, in order.
class MemoryTraceSink final : public TraceSink {
  public:
    void AppendLine(std::string_view line) override { lines_.emplace_back(line); }
    const std::vector<std::string>& Lines() const { return lines_; }
    void Clear() { lines_.clear(); }

  private:
    std::vector<std::string> lines_;
};

}  // namespace trevo::testing

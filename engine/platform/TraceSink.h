#pragma once
// Where a run reports: one Windows-1250 byte line per call. A line may hold CR LF, which the
// viewer shows as a line break.

#include <string>
#include <string_view>
#include <vector>

namespace trevo {

class TraceSink {
  public:
    virtual ~TraceSink() = default;
    virtual void AppendLine(std::string_view line) = 0;
};

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

}  // namespace trevo

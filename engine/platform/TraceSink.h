#pragma once
// Where a run reports: one Windows-1250 byte line per call. A line may hold CR LF, which the
// viewer shows as a line break.

#include <string>
#include <string_view>

namespace trevo {

class TraceSink {
  public:
    virtual ~TraceSink() = default;
    virtual void AppendLine(std::string_view line) = 0;
};

}  // namespace trevo

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
    // Hands what is pending to the reader; false once any part of the trace could not be
    // written. A sink that holds nothing back has nothing to do.
    virtual bool Flush() { return true; }
};

}  // namespace trevo

#pragma once

#include <cstdio>
#include <string>

#include "cli/TraceOutput.h"

namespace trevo::cli {

// The trace for a terminal: each line written and flushed when it is complete. A control
// character inside a line (C0, DEL) is shown in caret notation ("^[" for ESC, "^G" for BEL),
// one of the C1 range as U+FFFD; CR LF inside a line still breaks it, as on a file.
class TerminalTraceSink final : public OutputTraceSink {
  public:
    explicit TerminalTraceSink(std::FILE* out) : out_(out) {}
    TerminalTraceSink(const TerminalTraceSink&) = delete;
    TerminalTraceSink& operator=(const TerminalTraceSink&) = delete;
    ~TerminalTraceSink() override { Flush(); }

    void AppendLine(std::string_view line) override;
    bool Flush() override;

    // The text a line shows as, with its LF.
    static std::string Visible(std::string_view line);

  private:
    std::FILE* out_;
    bool failed_ = false;
};

}  // namespace trevo::cli

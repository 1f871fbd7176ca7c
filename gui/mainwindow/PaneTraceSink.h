#pragma once
// The run's trace sink in the window: collects the engine's Windows-1250 lines and hands them to
// the trace pane in batches, converted once per batch. A CR LF inside a line is a line break.

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/platform/TraceSink.h"

namespace trevo::gui {

class TracePane;

class PaneTraceSink final : public TraceSink {
  public:
    // Pending bytes beyond this are handed over at once, so memory stays flat while nobody
    // asks for a flush.
    static constexpr std::size_t kMaxPendingBytes = 4 * 1024 * 1024;

    explicit PaneTraceSink(TracePane& pane) : pane_(pane) {}

    void AppendLine(std::string_view line) override;

    // Hands every pending line to the pane.
    bool Flush() override;

    bool HasPending() const { return lineCount_ > 0; }

  private:
    TracePane& pane_;
    std::string pending_;  // lines joined by '\n'
    std::size_t lineCount_ = 0;
};

}  // namespace trevo::gui

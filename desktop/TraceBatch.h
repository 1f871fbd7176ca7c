#pragma once
// A run's trace on its way to a window's trace pane: the engine's Windows-1250 lines collected
// and handed over in batches, so that the pane converts and lays out once per batch. A CR LF
// inside a line is one line break.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "engine/platform/TraceSink.h"

namespace trevo::desktop {

class TraceBatch final : public TraceSink {
  public:
    // Pending bytes beyond this are handed over at once, so memory stays flat while nobody asks
    // for a flush.
    static constexpr std::size_t kMaxPendingBytes = 4 * 1024 * 1024;

    // Receives lines joined by '\n', without one after the last.
    using Deliver = std::function<void(std::string_view win1250Lines)>;

    explicit TraceBatch(Deliver deliver) : deliver_(std::move(deliver)) {}

    void AppendLine(std::string_view line) override;
    // Hands every pending line over.
    bool Flush() override;

    bool HasPending() const { return lineCount_ > 0; }

  private:
    Deliver deliver_;
    std::string pending_;
    std::size_t lineCount_ = 0;
};

}  // namespace trevo::desktop

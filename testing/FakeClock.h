#pragma once

#include "engine/platform/Clock.h"

namespace trevo::testing {

// A clock that says what the test set; `ticks` readings may each move it on.
class FakeClock final : public Clock {
  public:
    explicit FakeClock(LocalDateTime now = {2026, 12, 8, 10, 0, 0}) : now_(now) {}
    LocalDateTime Now() const override { return now_; }
    void Set(LocalDateTime now) { now_ = now; }

  private:
    LocalDateTime now_;
};

}  // namespace trevo::testing

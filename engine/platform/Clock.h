#pragma once

#include <ctime>

#include "engine/ledger/zdRMD.h"

namespace trevo {

// The current local date and time; injected so that tests can cross midnight.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
};

// A run asks for the time once per document: the calendar is consulted only when the second
// has changed, and the same second always gives the same local time. Like a run, for one
// thread at a time.
class SystemClock final : public Clock {
  public:
    LocalDateTime Now() const override;

  private:
    mutable bool remembered_ = false;
    mutable std::time_t lastSecond_ = 0;
    mutable LocalDateTime lastLocal_;
};

}  // namespace trevo

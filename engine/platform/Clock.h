#pragma once

#include "zdRMD.h"

namespace trevo {

// The current local date and time; injected so that tests can cross midnight.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
};

class SystemClock final : public Clock {
  public:
    LocalDateTime Now() const override;
};

}  // namespace trevo

#include <ctime>

#include "engine/platform/Clock.h"

namespace trevo {

LocalDateTime SystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    if (remembered_ && now == lastSecond_) {
        return lastLocal_;
    }
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &now) != 0) {
        return {};
    }
#else
    if (localtime_r(&now, &local) == nullptr) {
        return {};
    }
#endif
    remembered_ = true;
    lastSecond_ = now;
    lastLocal_ = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour,        local.tm_min,     local.tm_sec};
    return lastLocal_;
}

}  // namespace trevo

#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

#include "engine/platform/Clock.h"

namespace trevo {
namespace {

LocalDateTime CalendarNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

auto Fields(const LocalDateTime& t) {
    return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

// The clock's reading lies between two readings of the calendar; a second may tick between.
TEST(SystemClock, GivesTheLocalCalendarTime) {
    const SystemClock clock;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const LocalDateTime before = CalendarNow();
        const LocalDateTime read = clock.Now();
        const LocalDateTime after = CalendarNow();
        if (Fields(before) == Fields(after)) {
            EXPECT_EQ(Fields(read), Fields(before));
            EXPECT_GE(read.year, 2024);
            return;
        }
    }
    ADD_FAILURE() << "the calendar ticked during every attempt";
}

}  // namespace
}  // namespace trevo

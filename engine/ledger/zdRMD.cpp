#include "engine/ledger/zdRMD.h"

namespace trevo {

namespace {

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool IsCalendarDate(const RmdDate& date) {
    return date.year >= 1 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

RmdDate DateToRmdDate(const LocalDateTime& value) {
    // Out of the fields' ranges first, so that nothing wraps when narrowed.
    if (value.year < 1 || value.year > 65535 || value.month < 1 || value.month > 12 ||
        value.day < 1 || value.day > 31) {
        return {};
    }
    const RmdDate date{static_cast<std::uint8_t>(value.day), static_cast<std::uint8_t>(value.month),
                       static_cast<std::uint16_t>(value.year)};
    return IsCalendarDate(date) ? date : RmdDate{};
}

}  // namespace trevo

#include "engine/ledger/zdRMD.h"

namespace trevo {

namespace {

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

RmdDate DateToRmdDate(const LocalDateTime& value) {
    if (value.year < 1 || value.year > 65535 || value.month < 1 || value.month > 12 ||
        value.day < 1 || value.day > DaysInMonth(value.year, value.month)) {
        return {};
    }
    return {static_cast<std::uint8_t>(value.day), static_cast<std::uint8_t>(value.month),
            static_cast<std::uint16_t>(value.year)};
}

}  // namespace trevo

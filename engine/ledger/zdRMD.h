#pragma once
// RmdDate: the ledger program's 4-byte date (day, month, year). All zero means no date.

#include <cstdint>

namespace trevo {

struct RmdDate {
    std::uint8_t day = 0;
    std::uint8_t month = 0;
    std::uint16_t year = 0;

    friend bool operator==(const RmdDate&, const RmdDate&) = default;
};

// A local calendar date and time of day, as a clock reports it.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Whether `date` names a day of the Gregorian calendar (leap years included), from 1 January of
// year 1 on. The zero date names none.
bool IsCalendarDate(const RmdDate& date);

// The calendar date of `value`; the zero date when it is no Gregorian date from 1 January of
// year 1 up to the last year the record can hold.
RmdDate DateToRmdDate(const LocalDateTime& value);

}  // namespace trevo

#pragma once
// One month of one year: the period a ledger entry's date selects, and the name of the ledger's
// file for it. Ordered by year, then month.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/ledger/zdRMD.h"

namespace trevo {

struct Period {
    std::uint16_t year = 0;
    std::uint16_t month = 0;  // as the date holds it: not checked to lie within 1 to 12

    static Period Of(const RmdDate& date) { return {date.year, date.month}; }

    friend auto operator<=>(const Period&, const Period&) = default;
};

// "<year>ORMEK.<month>", year and month in plain decimal: the file's name within the ledger
// directory.
std::string PeriodFileBaseName(Period period);

// "<dir><sep><year>ORMEK.<month>". The directory text is used as it stands: a trailing separator
// gives a doubled one.
std::string PeriodFileName(const std::string& ledgerDir, Period period);
inline std::string PeriodFileName(const std::string& ledgerDir, unsigned year, unsigned month) {
    return PeriodFileName(
        ledgerDir, Period{static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month)});
}

// The period of a file name "<year>ORMEK.<month>" (plain decimal, no leading zeros, each at most
// 65535); nothing for any other name.
std::optional<Period> ParsePeriodFileName(std::string_view name);

}  // namespace trevo

#include "engine/ledger/Period.h"

#include "engine/files/FileSystem.h"

namespace trevo {

namespace {

constexpr std::string_view kInfix = "ORMEK.";

std::optional<unsigned> PlainNumber(std::string_view digits, unsigned limit) {
    if (digits.empty() || digits.size() > 5 || (digits.size() > 1 && digits[0] == '0')) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= limit ? std::optional(value) : std::nullopt;
}

}  // namespace

std::string PeriodFileBaseName(Period period) {
    std::string name = std::to_string(period.year);
    name += kInfix;
    name += std::to_string(period.month);
    return name;
}

std::string PeriodFileName(const std::string& ledgerDir, Period period) {
    std::string name = ledgerDir;
    name += kPathSeparator;
    name += PeriodFileBaseName(period);
    return name;
}

std::optional<Period> ParsePeriodFileName(std::string_view name) {
    const std::size_t at = name.find(kInfix);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto year = PlainNumber(name.substr(0, at), 0xFFFF);
    const auto month = PlainNumber(name.substr(at + kInfix.size()), 0xFFFF);
    if (!year || !month) {
        return std::nullopt;
    }
    return Period{static_cast<std::uint16_t>(*year), static_cast<std::uint16_t>(*month)};
}

}  // namespace trevo

#pragma once
// A run's summary in words (Windows-1250, Polish): the lines that follow the run's last trace
// line, and a one-line digest for a status bar.

#include <string>
#include <vector>

#include "engine/summary/RunSummary.h"
#include "engine/text/CurrencyFormat.h"

namespace trevo {

std::vector<std::string> SummaryLines(const RunSummary& summary, const CurrencyFormat& money);

std::string SummaryDigest(const RunSummary& summary);

// An amount of `units` of the summary's last decimal, in the currency format.
std::string SummaryAmount(std::int64_t units, int decimals, const CurrencyFormat& money);

}  // namespace trevo

#pragma once
// A run's summary as one JSON object (UTF-8); the README documents the schema.

#include <string>

#include "engine/summary/RunSummary.h"

namespace trevo {

std::string SummaryJson(const RunSummary& summary);

// `units` of the last of `decimals` decimals as a plain decimal number: 123456, 2 -> "1234.56".
std::string UnitsAsDecimal(std::int64_t units, int decimals);

}  // namespace trevo

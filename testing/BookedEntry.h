#pragma once
// A ledger entry as a run books it, every field set and valid, and its 400 bytes: the ground
// from which tests of reading a ledger back change one thing at a time.

#include <cstdint>
#include <string>

#include "engine/ledger/LedgerEntry.h"

namespace trevo::testing {

// Texts in Mazovia bytes; every date the 15th of `month` but auxDate (1 February 2024) and
// importDate (8 December 2026).
LedgerEntry BookedEntry(std::int32_t seqNo, std::uint16_t year, std::uint8_t month);

std::string RecordBytes(const LedgerEntry& entry);

}  // namespace trevo::testing

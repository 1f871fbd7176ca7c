#pragma once
// Checks of a ledger directory's period files against the record layout: whole records, seqNo
// equal to the slot, entryDate a calendar date within the file's year and month, the other dates
// calendar dates or zero, reserved bytes zero, texts within their capacities with zeros after
// them, field values in the sets the layout allows.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/files/FileSystem.h"

namespace trevo {

struct LedgerProblem {
    std::string file;        // Windows-1250 path
    std::uint64_t slot = 0;  // the record (from 1); 0 for the file as a whole
    std::string message;     // Windows-1250, Polish
};

// Checks every period file of the directory in order of year and month, reading each a block
// at a time, and passes every problem to `problem` as it is found. Of one file's records only
// the first `recordProblemsPerFile` problems are described; the rest are counted in one problem
// of the file as a whole after them. Problems of a file as a whole (a month outside 1-12 in its
// name, a part-record, a read failure) are always passed on. The number of period files
// checked; nothing when the directory cannot be read.
std::optional<std::size_t> CheckLedgerDirectory(
    FileSystem& fileSystem, const std::string& ledgerDir, std::uint64_t recordProblemsPerFile,
    const std::function<void(const LedgerProblem&)>& problem);

}  // namespace trevo

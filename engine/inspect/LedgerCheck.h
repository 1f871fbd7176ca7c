#pragma once
// Checks of a ledger directory's period files against the record layout: whole records, seqNo
// equal to the slot, entryDate within the file's year and month, reserved bytes zero, texts
// within their capacities with zeros after them, field values in the sets the layout allows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"

namespace trevo {

struct LedgerProblem {
    std::string file;        // Windows-1250 path
    std::uint64_t slot = 0;  // the record (from 1); 0 for the file as a whole
    std::string message;     // Windows-1250, Polish
};

// The problems of one record of the file for `year` and `month`, appended to `problems`.
void CheckRecord(const LedgerRecordBytes& bytes, std::uint64_t slot, unsigned year, unsigned month,
                 const std::string& file, std::vector<LedgerProblem>& problems);

// Every period file of the directory, in order of year and month. Nothing when the directory
// cannot be read.
std::optional<std::vector<LedgerProblem>> CheckLedgerDirectory(FileSystem& fileSystem,
                                                               const std::string& ledgerDir,
                                                               std::size_t* filesChecked = nullptr);

}  // namespace trevo

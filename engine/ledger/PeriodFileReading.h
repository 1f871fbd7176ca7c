#pragma once
// Reading a period file back, a record at a time, read only.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"

namespace trevo {

struct PeriodFileRead {
    std::uint64_t records = 0;
    std::uint64_t partBytes = 0;  // of a part-record after the last whole one
};

// Calls `record` with every whole record and its slot (from 1). Nothing when the file cannot
// be opened or read.
std::optional<PeriodFileRead> ReadPeriodFile(
    FileSystem& fileSystem, const std::string& path,
    const std::function<void(std::uint64_t slot, const LedgerRecordBytes& bytes)>& record);

// The same from a file opened already.
std::optional<PeriodFileRead> ReadPeriodRecords(
    InputFile& file,
    const std::function<void(std::uint64_t slot, const LedgerRecordBytes& bytes)>& record);

}  // namespace trevo

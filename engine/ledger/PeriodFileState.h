#pragma once
// What a period file held when the re-import guard read it, so that a later reading can tell
// whether it is still the file a question was answered about.

#include <cstdint>
#include <map>
#include <string>

namespace trevo {

struct PeriodFileState {
    bool existed = false;
    std::uint64_t records = 0;
    std::uint64_t partBytes = 0;  // of a part-record after the last whole one
    // Of the documents found, in slot order (docNumber, nip and entryDate of every record).
    std::uint64_t fingerprint = 0;
    bool operator==(const PeriodFileState&) const = default;
};

// By period file name, as the run names it.
using PeriodFileStates = std::map<std::string, PeriodFileState>;

}  // namespace trevo

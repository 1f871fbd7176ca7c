#pragma once
// Asked by the period files right after a run has opened and locked a period file, before the
// run writes to it or anyone is told of the open: whether the run may go on with that file.

#include <cstdint>
#include <string>

#include "engine/files/RecordFile.h"

namespace trevo {

enum class OpenVerdict {
    Proceed,
    Unreadable,         // the file could not be read: reported as a failed open
    ChangedByAnother,   // another writer took records away since the run last had the file
    ChangedSinceAsked,  // not as the question about booked documents saw it
};

class PeriodOpenGuard {
  public:
    virtual ~PeriodOpenGuard() = default;
    // `file` holds the lock between converter runs and has `size` bytes.
    virtual OpenVerdict PeriodFileLocked(std::uint16_t year, std::uint16_t month,
                                         const std::string& fileName, bool existedBefore,
                                         RecordFile& file, std::uint64_t size) = 0;
};

}  // namespace trevo

#pragma once
// Before a writing run: which documents of the export the ledger holds already, found by a
// check-only pass that writes nothing and traces nothing, so that the user can be asked
// whether to skip them.

#include <cstdint>
#include <vector>

#include "engine/ledger/PeriodFileState.h"
#include "engine/run/ConversionRun.h"
#include "engine/summary/RunSummary.h"

namespace trevo {

class Clock;
class FileSystem;

struct BookedScan {
    std::int64_t documents = 0;  // documents the export would book
    std::vector<RepeatedDocument> booked;
    // The period files as the scan read them: the run that follows the question refuses a file
    // that is no longer so (see RunServices::bookedAsAsked).
    PeriodFileStates files;
};

// Maps the whole export without a trace and without writing; nothing booked when the export
// cannot be read. The clock is this machine's when none is given.
BookedScan ScanForBookedDocuments(const RunInputs& inputs, FileSystem& fileSystem,
                                  const Clock* clock = nullptr);

}  // namespace trevo

#pragma once
// Before a writing run: which documents of the export the ledger holds already, found by a
// check-only pass that writes nothing, and the question whether to skip them.

#include <QString>
#include <cstdint>
#include <vector>

#include "engine/run/ConversionRun.h"
#include "engine/summary/RunSummary.h"

namespace trevo {
class Clock;
class FileSystem;
}  // namespace trevo

namespace trevo::gui {

struct BookedScan {
    std::int64_t documents = 0;  // documents the export would book
    std::vector<RepeatedDocument> booked;
    // The period files as the scan read them: the run that follows the question refuses a file
    // that is no longer so (see RunServices::bookedAsAsked).
    PeriodFileStates files;
};

// Maps the whole export without a trace and without writing; nothing booked when the export
// cannot be read.
BookedScan ScanForBookedDocuments(const RunInputs& inputs, FileSystem& fileSystem,
                                  const Clock& clock);

// "W KPR jest już 3 z 10 dokumentów …", naming the first few.
QString BookedQuestionText(const BookedScan& scan);

}  // namespace trevo::gui

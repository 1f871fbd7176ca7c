#include "engine/run/BookedScan.h"

#include "engine/platform/Clock.h"
#include "engine/platform/TraceSink.h"
#include "engine/text/CurrencyFormat.h"

namespace trevo {

namespace {

class NoTrace final : public TraceSink {
  public:
    void AppendLine(std::string_view) override {}
};

}  // namespace

BookedScan ScanForBookedDocuments(const RunInputs& inputs, FileSystem& fileSystem,
                                  const Clock* clock) {
    RunInputs check = inputs;
    check.checkOnly = true;
    check.skipBooked = false;
    NoTrace trace;
    const CurrencyFormat money;
    RunSummary summary;
    const SystemClock systemClock;
    RunServices services{trace, fileSystem, clock != nullptr ? *clock : systemClock, money};
    services.summary = &summary;
    const RunResult result = RunConversion(check, services);
    BookedScan scan;
    scan.documents = result.documentCount;
    scan.booked = std::move(summary.alreadyBooked);
    scan.files = result.periodFilesRead;
    return scan;
}

}  // namespace trevo

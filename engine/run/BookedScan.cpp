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
    // Only the booked documents are wanted: the summary counts, without lists of the rest.
    RunSummary summary;
    summary.listDocuments = false;
    BookedScan scan;
    const SystemClock systemClock;
    RunServices services{trace, fileSystem, clock != nullptr ? *clock : systemClock, money};
    services.summary = &summary;
    services.alreadyBooked = [&scan](const RepeatedDocument& document) {
        scan.booked.push_back(document);
    };
    const RunResult result = RunConversion(check, services);
    scan.documents = result.documentCount;
    scan.files = result.periodFilesRead;
    return scan;
}

}  // namespace trevo

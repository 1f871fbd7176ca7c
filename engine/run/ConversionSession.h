#pragma once
// One conversion as a front end (the window, the command line) starts it. The session adds to
// the platform's pieces what every run needs: the summary, and for a writing run the journal
// that lets it be undone. It runs, hands the trace to its reader, finishes the journal and
// words what there is to say; the front end only shows the result.

#include <atomic>
#include <functional>
#include <string>

#include "engine/ledger/PeriodFileState.h"
#include "engine/run/ConversionRun.h"
#include "engine/summary/RunSummary.h"
#include "engine/text/CurrencyFormat.h"

namespace trevo {

class Clock;
class FileSystem;
class TraceSink;

// What the platform and the front end supply for a run; see RunServices.
struct SessionPlatform {
    TraceSink& trace;  // flushed once the run has returned, before the journal is finished
    FileSystem& fileSystem;
    const Clock* clock = nullptr;           // this machine's when none is given
    const CurrencyFormat* money = nullptr;  // the user's regional format when none is given
    const std::atomic<int>* stop = nullptr;
    RunProgress* progress = nullptr;
    std::function<void(const RepeatedDocument&)> alreadyBooked = nullptr;
};

struct ConversionRequest {
    RunInputs inputs;
    // The summary lists documents one by one; without, it counts them and memory stays flat.
    bool listDocuments = true;
    // The period files as the question about booked documents saw them (BookedScan::files).
    const PeriodFileStates* bookedAsAsked = nullptr;
};

// What a front end shows. Its exit status, where it has one, rests on run.outcome,
// run.closeFailed, run.exportChanged, traceWritten and summary.HasDocumentProblems().
struct ConversionReport {
    RunResult run;
    RunSummary summary;        // filled unless the export file could not be opened
    CurrencyFormat money;      // the run's "%m" format, for showing the summary alike
    bool traceWritten = true;  // every line of the trace reached its reader
    // False when a writing run's journal could not be kept whole: the run cannot be undone.
    bool journalKept = true;

    // What to tell the user, Windows-1250, Polish; each empty when it does not apply.
    std::string exportOpenFailed;   // "Błąd otwarcia pliku epp …": nothing was read
    std::string journalLost;        // the journal could not be kept
    std::string changedSinceAsked;  // a file changed after the question: ask it again
};

ConversionReport RunConversionSession(const ConversionRequest& request,
                                      const SessionPlatform& platform);

}  // namespace trevo

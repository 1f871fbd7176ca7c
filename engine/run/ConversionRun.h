#pragma once
// One conversion run: every document line of the export file mapped, reported and, unless the
// run only checks, appended to the period file of its month.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/ledger/PeriodFileState.h"
#include "engine/text/CurrencyFormat.h"
#include "engine/text/zdTransPL.h"

namespace trevo {

class Clock;
class FileSystem;
class PeriodWriteObserver;
class TraceSink;
struct RepeatedDocument;
struct RunSummary;

struct RunInputs {
    std::string exportPath;  // as typed: no quotes are removed
    std::string ledgerDir;   // as typed: the period file names are formed from it
    PolishCharset ledgerCode = PolishCharset::pcMazovia;
    bool checkOnly = false;
    char attributeLetter = 0;  // Windows-1250 byte; 0 when the box is empty
    char registerLetter = 0;
    // Documents the period files held before the run are not booked again; the trace has one
    // line for each instead of its booking lines.
    bool skipBooked = false;
};

// Told after every line read; a window uses it to show progress and keep repainting.
class RunProgress {
  public:
    virtual ~RunProgress() = default;
    virtual void LineDone(std::uint64_t bytesRead, std::uint64_t bytesTotal,
                          std::int64_t documentCount) = 0;
};

struct RunServices {
    TraceSink& trace;
    FileSystem& fileSystem;
    const Clock& clock;
    const CurrencyFormat& money;
    RunProgress* progress = nullptr;
    // Looked at before every line read: once it is not 0, the run reads no further line (the
    // document in hand is already booked), finishes as usual and ends Interrupted. The value
    // is the asker's (the command line puts the signal number there). May be set from a signal
    // handler or another thread.
    const std::atomic<int>* stop = nullptr;
    // Filled with the run's summary when given. Documents already booked are looked for only
    // then, or when they are to be skipped.
    RunSummary* summary = nullptr;
    // Told of every open of and append to a period file (the run's journal).
    PeriodWriteObserver* journal = nullptr;
    // Told of each document booked before, as soon as it is found (with a summary only).
    std::function<void(const RepeatedDocument&)> alreadyBooked = nullptr;
    // The period files as they were when the user was asked about the documents booked before
    // (RunResult::periodFilesRead of a check-only run). A writing run then refuses a file that
    // differs from that state when it opens it, and stops there.
    const PeriodFileStates* bookedAsAsked = nullptr;
};

enum class RunOutcome {
    ExportNotOpened,  // nothing was traced; the caller shows "Błąd otwarcia pliku epp"
    Completed,        // the end of the export file was reached
    Stopped,          // a period file or read failure ended the reading
    Interrupted,      // `stop` was set; the trace's last line says how many were booked
};

struct RunResult {
    RunOutcome outcome = RunOutcome::ExportNotOpened;
    std::int64_t documentCount = 0;  // documents the mapping accepted
    bool closeFailed = false;        // the last period file could not be closed
    // The export file's size or modification time changed while it was read: documents may
    // be missing or mixed. Said on the trace after the closing line.
    bool exportChanged = false;
    // The period files read for documents booked before, as they were read.
    PeriodFileStates periodFilesRead;
    // The period file refused because it was not as when the user was asked (see
    // RunServices::bookedAsAsked); said on the trace after the closing line.
    std::string changedSinceAsked;
};

RunResult RunConversion(const RunInputs& inputs, const RunServices& services);

// "Błąd otwarcia pliku epp "<path>"", the message for an export file that cannot be opened.
std::string ExportOpenFailedMessage(const std::string& exportPath);

}  // namespace trevo

#pragma once
// What one run did, for the summary after its last trace line: per period file the records
// before and after, the documents booked and their amounts; the documents rejected, read with
// an invalid value, already booked, or with a NIP that fails its checksum.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/exportfile/ExportColumns.h"
#include "engine/run/ConversionRun.h"

namespace trevo {

struct PeriodSummary {
    std::string fileName;  // Windows-1250, as the trace names it
    // Nothing when the run never looked (checked without a ledger directory) or could not tell
    // (the file could not be read).
    std::optional<bool> existedBefore;
    std::optional<std::uint64_t> recordsBefore;  // nothing when the file was not read
    std::uint64_t partBytesBefore = 0;           // a part-record at its end
    std::optional<std::uint64_t> recordsAfter;
    std::int64_t documents = 0;  // booked by the run (in a check-only run: would be booked)
    // Accepted and counted, but not booked: the file failed (open, lock or append).
    std::int64_t documentsNotBooked = 0;
    // Sums of the amounts as the documents' trace lines show them, in units of the currency
    // format's last decimal.
    std::int64_t nettoUnits = 0;
    std::int64_t vatUnits = 0;
};

// A document by its line in the export file (from 1) and its number (Windows-1250).
struct DocumentRef {
    std::uint64_t line = 0;
    std::string docNumber;
};

struct RejectedDocument {
    DocumentRef document;
    std::string reason;  // Windows-1250, the trace's words
};

struct UnreadableDocument {
    DocumentRef document;
    std::vector<export_columns::Columns> fields;  // read as zero
};

struct RepeatedDocument {
    enum class Action : std::uint8_t { Reported, BookedAgain, Skipped };
    DocumentRef document;
    std::string periodFile;
    std::uint32_t slot = 0;
    Action action = Action::Reported;
};

// A non-empty line of another length than a document's, which the run passes over.
struct OtherLengthLine {
    std::uint64_t line = 0;    // from 1
    std::uint64_t length = 0;  // bytes, without the line end
};

struct NipWarning {
    DocumentRef document;
    std::string nip;  // Windows-1250
};

struct RunSummary {
    // Set by the caller: whether the documents are listed one by one. Without the lists memory
    // stays flat however many documents the export holds; the counts are kept either way.
    bool listDocuments = true;

    bool checkOnly = false;
    bool skipBooked = false;
    RunOutcome outcome = RunOutcome::ExportNotOpened;
    std::int64_t documentCount = 0;  // the count line: documents accepted (see documentsBooked)
    int decimals = 2;                // of the amount units
    std::vector<PeriodSummary> periods;
    std::vector<RejectedDocument> rejected;
    std::vector<UnreadableDocument> unreadable;
    std::vector<RepeatedDocument> alreadyBooked;
    std::vector<NipWarning> nipWarnings;
    std::vector<OtherLengthLine> otherLengthLines;  // the first kOtherLengthLinesListed
    std::int64_t rejectedCount = 0;
    std::int64_t unreadableCount = 0;
    std::int64_t alreadyBookedCount = 0;
    std::int64_t nipWarningCount = 0;
    std::int64_t otherLengthLineCount = 0;

    static constexpr std::size_t kOtherLengthLinesListed = 10;

    // Documents written into their period files (0 in a check-only run).
    std::int64_t DocumentsBooked() const;
    // Documents accepted but not booked because their period file failed.
    std::int64_t DocumentsNotBooked() const;

    // A rejected document, a value read as zero or a line of another length: what --strict
    // turns into a failure.
    bool HasDocumentProblems() const {
        return rejectedCount != 0 || unreadableCount != 0 || otherLengthLineCount != 0;
    }
};

// The record field (or the document part) that the columns feed, e.g. "netto1".
const char* FieldOfColumns(export_columns::Columns columns);

}  // namespace trevo

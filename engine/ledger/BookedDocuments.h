#pragma once
// The documents the period files held before a run, so that a document booked before can be
// recognised: same docNumber, nip and entryDate bytes. Each month's file is read once, the first
// time a document of that month comes, before the run writes to it; what the run itself appends
// is never read.
//
// A writing run reads a file through the period file it has opened and locked against other
// converter runs (see PeriodOpenGuard): what the guard reads and what the run then writes are
// under one lock, so no other run or undo comes between. When the run comes back to a month
// whose file it closed meanwhile, whatever another writer appended since is read as booked
// too; a file that shrank meanwhile (an undo, an edit) is refused. A check-only run reads each
// file by name without a lock: a snapshot, which a writing run at the same moment may overtake.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/PeriodFileState.h"
#include "engine/ledger/PeriodFiles.h"

namespace trevo {

class BookedDocuments final : public PeriodOpenGuard, public PeriodWriteObserver {
  public:
    // With `asAsked`, the states a question about booked documents was answered on: a file
    // that differs from its state there (or is not in it) is refused when the run opens it.
    BookedDocuments(FileSystem& fileSystem, std::string ledgerDir,
                    const PeriodFileStates* asAsked = nullptr)
        : fileSystem_(fileSystem), ledgerDir_(std::move(ledgerDir)), asAsked_(asAsked) {}

    struct Match {
        std::string periodFile;
        std::uint32_t slot = 0;  // 1-based position of the first matching record
    };

    // The booked record the entry repeats, if any. A month not read yet is read by name, read
    // only (a check-only run).
    std::optional<Match> Find(const LedgerEntry& entry);

    // The file of a month as first read; nothing for a month not seen yet or a file that could
    // not be read.
    std::optional<PeriodFileState> StateBefore(Period period) const;
    // Every file read, as first read.
    PeriodFileStates StatesBefore() const;
    // The file refused because it was not as the question saw it; empty when none was.
    const std::string& ChangedSinceAsked() const { return changedSinceAsked_; }

    OpenVerdict PeriodFileLocked(Period period, const std::string& fileName, bool existedBefore,
                                 RecordFile& file, std::uint64_t size) override;
    void PeriodOpened(const std::string&, bool, std::uint64_t) override {}
    void RecordWritten(const std::string& fileName, std::uint64_t offset, std::uint64_t sizeBefore,
                       std::string_view overwritten, std::string_view written) override;

  private:
    // What was read of one period file.
    struct PeriodRead {
        std::string fileName;
        bool read = false;
        PeriodFileState state;
        bool unreadable = false;    // the records read before the failure are still recognised
        std::uint64_t seenEnd = 0;  // the file's bytes accounted for: read or written by the run
        std::unordered_map<std::string, std::uint32_t> slots;
    };
    PeriodRead& At(Period period);
    void LoadByName(PeriodRead& period, std::string_view name);
    // Takes in the records from slot `firstSlot` (0-based) on; false when reading failed.
    bool ReadRecords(PeriodRead& period, RecordFile& file, std::uint64_t firstSlot,
                     std::uint64_t size);
    void AddRecord(PeriodRead& period, std::uint64_t slot, const LedgerRecordBytes& bytes);

    FileSystem& fileSystem_;
    std::string ledgerDir_;
    const PeriodFileStates* asAsked_;
    // The names in the ledger directory, listed once for reading by name; nothing when the
    // directory could not be read (then no file's state is known).
    std::optional<std::optional<std::set<std::string>>> names_;
    std::map<Period, PeriodRead> periods_;
    PeriodRead* open_ = nullptr;  // the period file the run has open
    std::string key_;
    std::string changedSinceAsked_;
};

// The identity of a document in a record: docNumber, nip and entryDate, as bytes.
void BookedKey(const LedgerEntry& entry, std::string& key);

}  // namespace trevo

#pragma once
// The documents the period files held when a run started, so that a document booked before can
// be recognised: same docNumber, nip and entryDate bytes. Each month's file is read once, read
// only, the first time a document of that month comes; what the run itself appends later is
// never read.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"

namespace trevo {

class BookedDocuments {
  public:
    BookedDocuments(FileSystem& fileSystem, std::string ledgerDir)
        : fileSystem_(fileSystem), ledgerDir_(std::move(ledgerDir)) {}

    struct Match {
        std::string periodFile;
        std::uint32_t slot = 0;  // 1-based position of the first matching record
    };

    // The booked record the entry repeats, if any.
    std::optional<Match> Find(const LedgerEntry& entry);

    // Whole records and the bytes of a part-record at the end when the month's file was read
    // (a missing file has none); nothing for a month not seen yet or a file that could not be
    // read.
    struct FileState {
        bool existed = false;
        std::uint64_t records = 0;
        std::uint64_t partBytes = 0;
    };
    std::optional<FileState> StateBefore(std::uint16_t year, std::uint16_t month) const;

  private:
    struct Period {
        std::string fileName;
        FileState state;
        bool unreadable = false;  // the records read before the failure are still recognised
        std::unordered_map<std::string, std::uint32_t> slots;
    };
    Period& Load(std::uint16_t year, std::uint16_t month);

    FileSystem& fileSystem_;
    std::string ledgerDir_;
    std::map<std::int32_t, Period> periods_;
    std::string key_;
};

// The identity of a document in a record: docNumber, nip and entryDate, as bytes.
void BookedKey(const LedgerEntry& entry, std::string& key);

}  // namespace trevo

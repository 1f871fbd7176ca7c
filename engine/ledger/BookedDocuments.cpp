#include "engine/ledger/BookedDocuments.h"

#include "engine/ledger/PeriodFileReading.h"
#include "engine/ledger/PeriodFiles.h"

namespace trevo {

namespace {

// One key per file name: month 13 of a year names another file than January of the next.
std::int32_t FileKey(std::uint16_t year, std::uint16_t month) {
    return std::int32_t{year} * 256 + (month & 0xFF);
}

}  // namespace

void BookedKey(const LedgerEntry& entry, std::string& key) {
    key.clear();
    // Length-prefixed, so that no two different pairs of texts give one key.
    key += static_cast<char>(entry.docNumber.Size());
    key += entry.docNumber.View();
    key += static_cast<char>(entry.nip.Size());
    key += entry.nip.View();
    key += static_cast<char>(entry.entryDate.day);
    key += static_cast<char>(entry.entryDate.month);
    key += static_cast<char>(entry.entryDate.year & 0xFF);
    key += static_cast<char>(entry.entryDate.year >> 8);
}

BookedDocuments::Period& BookedDocuments::Load(std::uint16_t year, std::uint16_t month) {
    const std::int32_t key = FileKey(year, month);
    if (const auto found = periods_.find(key); found != periods_.end()) {
        return found->second;
    }
    Period& period = periods_[key];
    period.fileName = PeriodFileName(ledgerDir_, year, month);
    if (!fileSystem_.FileExists(period.fileName)) {
        return period;
    }
    std::string recordKey;
    const auto read = ReadPeriodFile(
        fileSystem_, period.fileName, [&](std::uint64_t slot, const LedgerRecordBytes& bytes) {
            BookedKey(DecodeLedgerEntry(bytes), recordKey);
            period.slots.try_emplace(recordKey, static_cast<std::uint32_t>(slot));
        });
    if (read) {
        period.state = {true, read->records, read->partBytes};
    } else {
        period.unreadable = true;
    }
    return period;
}

std::optional<BookedDocuments::Match> BookedDocuments::Find(const LedgerEntry& entry) {
    const Period& period = Load(entry.entryDate.year, entry.entryDate.month);
    if (period.slots.empty()) {
        return std::nullopt;
    }
    BookedKey(entry, key_);
    const auto found = period.slots.find(key_);
    if (found == period.slots.end()) {
        return std::nullopt;
    }
    return Match{period.fileName, found->second};
}

std::optional<BookedDocuments::FileState> BookedDocuments::StateBefore(std::uint16_t year,
                                                                       std::uint16_t month) const {
    const auto found = periods_.find(FileKey(year, month));
    if (found == periods_.end() || found->second.unreadable) {
        return std::nullopt;
    }
    return found->second.state;
}

}  // namespace trevo

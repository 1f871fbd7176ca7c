#include "engine/ledger/BookedDocuments.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "engine/ledger/PeriodFileReading.h"

namespace trevo {

namespace {

// One key per file name: month 13 of a year names another file than January of the next.
std::int32_t FileKey(std::uint16_t year, std::uint16_t month) {
    return std::int32_t{year} * 256 + (month & 0xFF);
}

constexpr std::uint64_t kFingerprintPrime = 1099511628211ULL;

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

BookedDocuments::Period& BookedDocuments::At(std::uint16_t year, std::uint16_t month) {
    const auto [found, added] = periods_.try_emplace(FileKey(year, month));
    if (added) {
        found->second.fileName = PeriodFileName(ledgerDir_, year, month);
    }
    return found->second;
}

void BookedDocuments::AddRecord(Period& period, std::uint64_t slot,
                                const LedgerRecordBytes& bytes) {
    BookedKey(DecodeLedgerEntry(bytes), key_);
    period.slots.try_emplace(key_, static_cast<std::uint32_t>(slot));
    period.state.fingerprint =
        (period.state.fingerprint ^ std::hash<std::string>{}(key_)) * kFingerprintPrime;
}

void BookedDocuments::LoadByName(Period& period, std::string_view name) {
    period.read = true;
    if (!names_) {
        if (auto listed = fileSystem_.ListDirectory(ledgerDir_)) {
            names_.emplace(std::set<std::string>(listed->begin(), listed->end()));
        } else {
            names_.emplace();
        }
    }
    // A name the directory does not list holds nothing; a directory that cannot be listed may
    // still let a file be opened by name, and otherwise nothing is known.
    if (*names_ && (*names_)->count(std::string(name)) == 0) {
        return;
    }
    // Never through a link at the name, as the run would never write through one.
    const auto file = fileSystem_.OpenPeriodFileForReading(period.fileName);
    if (!file) {
        period.unreadable = true;
        return;
    }
    const auto read =
        ReadPeriodRecords(**file, [&](std::uint64_t slot, const LedgerRecordBytes& bytes) {
            AddRecord(period, slot, bytes);
        });
    if (read) {
        period.state.existed = true;
        period.state.records = read->records;
        period.state.partBytes = read->partBytes;
    } else {
        period.unreadable = true;
    }
}

bool BookedDocuments::ReadRecords(Period& period, RecordFile& file, std::uint64_t firstSlot,
                                  std::uint64_t size) {
    std::vector<char> buffer(LedgerEntry::kSize * 256);
    LedgerRecordBytes bytes;
    std::uint64_t slot = firstSlot;
    while ((slot + 1) * LedgerEntry::kSize <= size) {
        const std::uint64_t whole = size / LedgerEntry::kSize - slot;
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(whole, 256)) * LedgerEntry::kSize;
        const auto got = file.ReadAt(slot * LedgerEntry::kSize, buffer.data(), want);
        if (!got || *got < LedgerEntry::kSize) {
            return false;
        }
        for (std::size_t used = 0; used + LedgerEntry::kSize <= *got; used += LedgerEntry::kSize) {
            std::copy_n(buffer.data() + used, LedgerEntry::kSize, bytes.begin());
            AddRecord(period, ++slot, bytes);
        }
    }
    return true;
}

OpenVerdict BookedDocuments::PeriodFileLocked(std::uint16_t year, std::uint16_t month,
                                              const std::string&, bool existedBefore,
                                              RecordFile& file, std::uint64_t size) {
    Period& period = At(year, month);
    open_ = &period;
    if (!period.read) {
        period.read = true;
        period.seenEnd = size;
        period.state.existed = existedBefore || size > 0;
        period.state.records = size / LedgerEntry::kSize;
        period.state.partBytes = size % LedgerEntry::kSize;
        if (!ReadRecords(period, file, 0, size)) {
            period.unreadable = true;
            return OpenVerdict::Unreadable;
        }
        if (asAsked_ != nullptr) {
            const auto asked = asAsked_->find(period.fileName);
            if (asked == asAsked_->end() || !(asked->second == period.state)) {
                changedSinceAsked_ = period.fileName;
                return OpenVerdict::ChangedSinceAsked;
            }
        }
        return OpenVerdict::Proceed;
    }
    // Back at a file the run closed meanwhile.
    if (size == period.seenEnd) {
        return OpenVerdict::Proceed;
    }
    if (asAsked_ != nullptr) {
        changedSinceAsked_ = period.fileName;
        return OpenVerdict::ChangedSinceAsked;
    }
    if (size < period.seenEnd) {
        return OpenVerdict::ChangedByAnother;
    }
    // Another writer appended: its records count as booked (from the record a part-record at
    // the old end would have become).
    if (!ReadRecords(period, file, period.seenEnd / LedgerEntry::kSize, size)) {
        return OpenVerdict::Unreadable;
    }
    period.seenEnd = size;
    return OpenVerdict::Proceed;
}

void BookedDocuments::RecordWritten(const std::string&, std::uint64_t offset,
                                    std::uint64_t sizeBefore, std::string_view,
                                    std::string_view written) {
    if (open_ != nullptr) {
        open_->seenEnd = std::max(sizeBefore, offset + written.size());
    }
}

std::optional<BookedDocuments::Match> BookedDocuments::Find(const LedgerEntry& entry) {
    Period& period = At(entry.entryDate.year, entry.entryDate.month);
    if (!period.read) {
        LoadByName(period, std::string_view(period.fileName).substr(ledgerDir_.size() + 1));
    }
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

std::optional<PeriodFileState> BookedDocuments::StateBefore(std::uint16_t year,
                                                            std::uint16_t month) const {
    const auto found = periods_.find(FileKey(year, month));
    if (found == periods_.end() || !found->second.read || found->second.unreadable) {
        return std::nullopt;
    }
    return found->second.state;
}

PeriodFileStates BookedDocuments::StatesBefore() const {
    PeriodFileStates states;
    for (const auto& [key, period] : periods_) {
        if (period.read && !period.unreadable) {
            states.emplace(period.fileName, period.state);
        }
    }
    return states;
}

}  // namespace trevo

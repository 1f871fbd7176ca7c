#include "engine/ledger/PeriodFiles.h"

#include <array>
#include <limits>

#include "engine/platform/TraceSink.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kOpenFailed = "Błąd otwarcia pliku %s !"_w1250;
constexpr auto kAppendFailed = "Błąd dopisania do pliku %s !"_w1250;
constexpr auto kCloseFailed = "Błąd zamknięcia pliku %s !"_w1250;
constexpr auto kHeldByAnotherRun = "Plik %s jest zapisywany przez inną konwersję !"_w1250;

}  // namespace

std::string PeriodFileName(const std::string& ledgerDir, unsigned year, unsigned month) {
    // The directory text is used as it stands: a trailing separator gives a doubled one.
    std::string name = ledgerDir;
    name += kPathSeparator;
    name += std::to_string(year);
    name += "ORMEK.";
    name += std::to_string(month);
    return name;
}

PeriodFiles::PeriodFiles(FileSystem& fileSystem, std::string ledgerDir, TraceSink& trace)
    : fileSystem_(fileSystem), ledgerDir_(std::move(ledgerDir)), trace_(trace) {}

PeriodFiles::~PeriodFiles() = default;

void PeriodFiles::Report(std::string_view format) {
    trace_.AppendLine(FormatMessage(format, {periodFileName_}));
}

bool PeriodFiles::OpenPeriod(std::uint16_t year, std::uint16_t month) {
    const std::int32_t key = std::int32_t{year} * 12 + std::int32_t{month};
    if (key == periodKey_ && periodOpen_) {
        return true;
    }
    if (!ClosePeriod()) {
        return false;
    }
    periodKey_ = key;
    // The whole name is used: a name cut short would be another file, one the ledger
    // program never reads.
    periodFileName_ = PeriodFileName(ledgerDir_, year, month);
    const bool told = !observers_.empty() || guard_ != nullptr;
    const bool existedBefore = told && fileSystem_.FileExists(periodFileName_);
    auto opened = fileSystem_.OpenOrCreateRecordFile(periodFileName_);
    if (!opened) {
        Report(kOpenFailed);
        return false;
    }
    file_ = *std::move(opened);
    // Another converter run appending to the same file would take the same record counts and
    // overwrite records (see RecordFile.h); that file is left to it.
    if (const FileDone locked = file_->LockAgainstOtherRuns(); !locked) {
        file_.reset();
        Report(locked.error() == FileErrc::HeldByAnotherRun ? kHeldByAnotherRun : kOpenFailed);
        return false;
    }
    std::uint64_t size = 0;
    if (told) {
        const auto sized = file_->SizeInBytes();
        size = sized ? *sized : 0;
    }
    if (guard_ != nullptr) {
        const OpenVerdict verdict =
            guard_->PeriodFileLocked(year, month, periodFileName_, existedBefore, *file_, size);
        if (verdict != OpenVerdict::Proceed) {
            file_.reset();
            Report(verdict == OpenVerdict::ChangedByAnother ? kHeldByAnotherRun : kOpenFailed);
            return false;
        }
    }
    periodOpen_ = true;
    if (!observers_.empty()) {
        for (PeriodWriteObserver* observer : observers_) {
            observer->PeriodOpened(periodFileName_, existedBefore, size);
        }
    }
    return true;
}

bool PeriodFiles::AppendEntry(LedgerEntry& entry) {
    const auto failed = [&] {
        Report(kAppendFailed);
        return false;
    };
    if (!periodOpen_ || !file_) {
        return failed();
    }
    const auto size = file_->SizeInBytes();
    if (!size) {
        return failed();
    }
    const std::uint64_t records = *size / LedgerEntry::kSize;
    if (records >= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return failed();
    }
    if (!file_->Seek(records * LedgerEntry::kSize)) {
        return failed();
    }
    entry.seqNo = static_cast<std::int32_t>(records + 1);
    EncodeLedgerEntry(entry, record_);
    if (observers_.empty()) {
        const auto wrote = file_->Write(record_.data(), record_.size());
        return (wrote && *wrote == record_.size()) || failed();
    }
    // The bytes of a part-record at the end are overwritten: kept first, so that they can be
    // put back.
    const std::uint64_t offset = records * LedgerEntry::kSize;
    std::array<char, LedgerEntry::kSize> overwritten;
    const auto partBytes = static_cast<std::size_t>(*size - offset);
    if (partBytes > 0) {
        const auto read = file_->ReadAt(offset, overwritten.data(), partBytes);
        if (!read || *read != partBytes) {
            return failed();
        }
    }
    const auto wrote = file_->Write(record_.data(), record_.size());
    const std::size_t written = wrote ? *wrote : 0;
    for (PeriodWriteObserver* observer : observers_) {
        observer->RecordWritten(periodFileName_, offset, *size, {overwritten.data(), partBytes},
                                {reinterpret_cast<const char*>(record_.data()), written});
    }
    return written == record_.size() || failed();
}

bool PeriodFiles::ClosePeriod() {
    if (!periodOpen_) {
        return true;
    }
    if (!file_->Close()) {
        Report(kCloseFailed);
        return false;
    }
    file_.reset();
    periodOpen_ = false;
    return true;
}

}  // namespace trevo

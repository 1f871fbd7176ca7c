#pragma once
// The ledger's monthly data files of one company directory, as one run books into them: at most
// one file open, kept open while consecutive documents stay in its month.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/Period.h"
#include "engine/ledger/PeriodOpenGuard.h"
#include "engine/ledger/PeriodWriteObserver.h"

namespace trevo {

class TraceSink;

class PeriodFiles {
  public:
    PeriodFiles(FileSystem& fileSystem, std::string ledgerDir, TraceSink& trace);
    PeriodFiles(const PeriodFiles&) = delete;
    PeriodFiles& operator=(const PeriodFiles&) = delete;
    ~PeriodFiles();

    // Makes the file of the period current, opening or creating it and taking the lock between
    // converter runs on it. On failure (also when another run holds the file) the message
    // naming the file is already on the trace.
    bool OpenPeriod(Period period);

    // Numbers the entry by the file's record count taken now and writes its 400 bytes as the
    // next record. Only after a successful OpenPeriod.
    bool AppendEntry(LedgerEntry& entry);

    // Closes the open file, if any.
    bool ClosePeriod();

    // Each is told of every open and append from now on; they must outlive this object.
    void AddObserver(PeriodWriteObserver& observer) { observers_.push_back(&observer); }
    // Asked at every open, under the lock, before the observers hear of it; must outlive this
    // object. A file it refuses is closed and reported, and the open fails.
    void SetGuard(PeriodOpenGuard& guard) { guard_ = &guard; }

    const std::string& periodFileName() const { return periodFileName_; }
    bool periodOpen() const { return periodOpen_; }
    // The period last asked for.
    Period period() const { return period_; }

  private:
    void Report(std::string_view format);

    FileSystem& fileSystem_;
    std::string ledgerDir_;
    TraceSink& trace_;
    Period period_;
    bool periodOpen_ = false;
    std::string periodFileName_;
    std::unique_ptr<RecordFile> file_;
    LedgerRecordBytes record_{};
    std::vector<PeriodWriteObserver*> observers_;
    PeriodOpenGuard* guard_ = nullptr;
};

}  // namespace trevo

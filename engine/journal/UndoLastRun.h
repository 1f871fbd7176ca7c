#pragma once
// Undoing the most recent writing run into a ledger directory, from its journal: every period
// file is put back byte for byte as it was before that run, a file the run created is removed.
// Every file is locked against other converter runs and checked first; if any no longer ends
// with exactly what the run wrote, nothing at all is changed.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ledger/zdRMD.h"

namespace trevo {

class FileSystem;

struct UndoFileStep {
    std::string fileName;  // within the ledger directory
    std::uint64_t sizeNow = 0;
    std::uint64_t sizeBefore = 0;  // the size it is put back to
    std::uint64_t recordsRemoved = 0;
    std::uint64_t bytesRestored = 0;  // of a part-record the run overwrote
    bool remove = false;              // the run created it
};

struct UndoReport {
    enum class Status : std::uint8_t {
        Done,           // undone (or, checking only, could be undone)
        NothingToUndo,  // no journal of a run in the directory
        Refused,        // nothing was changed; `problem` says why
        Failed,         // a change failed part way; `problem` says where
    };
    Status status = Status::NothingToUndo;
    std::string journalPath;
    std::string exportPath;  // of the run
    LocalDateTime started;
    std::vector<UndoFileStep> steps;
    std::string problem;  // Windows-1250, Polish
};

UndoReport UndoLastRun(FileSystem& fileSystem, const std::string& ledgerDir, bool checkOnly);

}  // namespace trevo

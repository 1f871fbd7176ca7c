#pragma once
// Undoing the most recent writing run into a ledger directory, from its journal: every period
// file is put back byte for byte as it was before that run, a file the run created is removed.
// Every file is locked against other converter runs and checked first; if any no longer ends
// with exactly what the run wrote, nothing at all is changed. A change that fails part way is
// put back. Before changing anything undo leaves a mark beside the journal; an undo that stops
// part way (killed, or unable to put back) leaves it, and the next undo finishes that one.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ledger/zdRMD.h"

namespace trevo {

class DirectoryStore;
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
        RolledBack,     // a change failed and what had changed was put back: nothing changed
        FailedPartWay,  // a change failed and not all could be put back; the next undo
                        // finishes the undo; `problem` says where
    };
    Status status = Status::NothingToUndo;
    std::string journalPath;
    std::string exportPath;  // of the run
    LocalDateTime started;
    std::vector<UndoFileStep> steps;
    std::string problem;     // Windows-1250, Polish
    std::string warning;     // done, but something was left behind: Windows-1250, Polish
    bool resumed = false;    // an undo that had stopped part way was finished
    std::string setAsideAs;  // DiscardUnfinishedRun: the journal's new path
};

UndoReport UndoLastRun(FileSystem& fileSystem, const std::string& ledgerDir, bool checkOnly);

// Sets the most recent journal aside when undo cannot use it (of a run that did not finish,
// damaged, or of the previous format) by renaming it to a name undo skips, without touching
// any period file, so that the runs before it can be undone. Refused for a journal undo can
// use, and while an undo of it is under way.
UndoReport DiscardUnfinishedRun(DirectoryStore& directories, const std::string& ledgerDir);

}  // namespace trevo

#pragma once
// The journal a writing run keeps of what it does to each period file, so that the run can be
// undone exactly. The journal file is made when the run opens its first period file, and each
// opening is on disk before the run appends to that file. Of the appends only a digest is
// kept per file, with the bytes of a part-record they overwrote; these follow at the end,
// before the end mark.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/files/DirectoryStore.h"
#include "engine/journal/AppendDigest.h"
#include "engine/journal/JournalFormat.h"
#include "engine/ledger/PeriodWriteObserver.h"
#include "engine/ledger/zdRMD.h"

namespace trevo {

class RunJournal final : public PeriodWriteObserver {
  public:
    RunJournal(DirectoryStore& directories, std::string ledgerDir, std::string exportPath,
               LocalDateTime started);
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;
    ~RunJournal() override;

    void PeriodOpened(const std::string& fileName, bool existedBefore,
                      std::uint64_t sizeAtOpen) override;
    void RecordWritten(const std::string& fileName, std::uint64_t offset, std::uint64_t sizeBefore,
                       std::string_view overwritten, std::string_view written) override;

    // Writes what is left and the end mark. False when the journal could not be kept whole;
    // it is then removed, so that undo never works from a part of it.
    bool Finish();

    // The journal file, once made; empty before.
    const std::string& Path() const { return path_; }

  private:
    // What the run did to one period file so far.
    struct FileState {
        std::optional<journal::AppendDigest> digest;  // from the first append on
        journal::AppendedFile result;
        std::uint64_t next = 0;  // where the next append must go for the appends to be one run
        bool written = false;
    };

    bool Start();
    bool Flush();
    void Prune(const std::vector<std::string>& names, std::uint64_t newest);
    std::string NameInDirectory(const std::string& fileName) const;

    DirectoryStore& directories_;
    std::string ledgerDir_;
    std::string exportPath_;
    LocalDateTime started_;
    std::string name_;  // within the journal folder
    std::string path_;
    std::unique_ptr<Directory> directory_;
    std::unique_ptr<RecordFile> file_;
    std::map<std::string, FileState> files_;
    FileState* open_ = nullptr;  // the entry of the file opened last, and its name as given
    std::string openName_;
    std::string pending_;
    bool failed_ = false;
    bool finished_ = false;
};

}  // namespace trevo

#pragma once
// The journal a writing run keeps of what it does to each period file, so that the run can be
// undone exactly. The journal file is made when the run opens its first period file; records
// are gathered and written in blocks, and the end mark follows when the run has ended.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/files/FileSystem.h"
#include "engine/ledger/PeriodWriteObserver.h"
#include "engine/ledger/zdRMD.h"

namespace trevo {

class RunJournal final : public PeriodWriteObserver {
  public:
    RunJournal(FileSystem& fileSystem, std::string ledgerDir, std::string exportPath,
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
    bool Start();
    bool Flush();
    std::string NameInDirectory(const std::string& fileName) const;

    FileSystem& fileSystem_;
    std::string ledgerDir_;
    std::string exportPath_;
    LocalDateTime started_;
    std::string path_;
    std::unique_ptr<RecordFile> file_;
    std::string pending_;
    bool failed_ = false;
    bool finished_ = false;
};

}  // namespace trevo

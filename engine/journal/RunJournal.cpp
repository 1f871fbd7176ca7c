#include "engine/journal/RunJournal.h"

#include <algorithm>
#include <vector>

#include "engine/files/FileSystem.h"
#include "engine/ledger/LedgerEntry.h"

namespace trevo {

namespace {

constexpr int kNumberAttempts = 100;

}  // namespace

RunJournal::RunJournal(DirectoryStore& directories, std::string ledgerDir, std::string exportPath,
                       LocalDateTime started)
    : directories_(directories),
      ledgerDir_(std::move(ledgerDir)),
      exportPath_(std::move(exportPath)),
      started_(started) {}

RunJournal::~RunJournal() {
    if (!finished_) {
        Finish();
    }
}

std::string RunJournal::NameInDirectory(const std::string& fileName) const {
    // The run names its files "<ledger dir><sep><name>"; the journal keeps the name alone, so
    // that it travels with the directory.
    if (fileName.size() > ledgerDir_.size() && fileName.starts_with(ledgerDir_) &&
        fileName[ledgerDir_.size()] == kPathSeparator) {
        return fileName.substr(ledgerDir_.size() + 1);
    }
    return fileName;
}

bool RunJournal::Start() {
    // The folder and its files are named within the open ledger directory, never through a
    // link: a journal applied from a folder elsewhere would undo files elsewhere.
    const auto ledger = directories_.OpenDirectory(ledgerDir_);
    if (!ledger) {
        return false;
    }
    auto folder = (*ledger)->OpenDirectory(std::string(journal::kDirectoryName), true);
    if (!folder) {
        return false;
    }
    directory_ = *std::move(folder);
    const auto names = directory_->List();
    if (!names) {
        return false;
    }
    std::uint64_t newest = 0;
    // A number is never used twice, not even one whose journal is gone but whose set-aside
    // copy or undo mark is left.
    for (const std::string& name : *names) {
        newest = std::max(newest, journal::JournalNumberOfAnyName(name).value_or(0));
    }
    std::uint64_t next = newest + 1;
    // Another run may take the same number at the same moment: the file is made only if it
    // is new.
    for (int attempt = 0; attempt < kNumberAttempts && !file_; ++attempt, ++next) {
        name_ = journal::JournalFileName(next);
        if (auto created = directory_->CreateNewFile(name_)) {
            file_ = *std::move(created);
        }
    }
    if (!file_) {
        name_.clear();
        return false;
    }
    path_ = journal::JournalDirectory(ledgerDir_) + kPathSeparator + name_;
    Prune(*names, next - 1);
    journal::AppendHeader(pending_, exportPath_, started_);
    return true;
}

// Only the most recent runs can be undone; older journals go, with whatever is left beside them.
void RunJournal::Prune(const std::vector<std::string>& names, std::uint64_t newest) {
    if (newest < journal::kRunsKept) {
        return;
    }
    const std::uint64_t oldestKept = newest - journal::kRunsKept + 1;
    for (const std::string& name : names) {
        const auto number = journal::JournalNumberOfAnyName(name);
        if (number && *number < oldestKept) {
            (void)directory_->Remove(name);
        }
    }
}

bool RunJournal::Flush() {
    std::size_t done = 0;
    while (done < pending_.size()) {
        const auto wrote = file_->Write(pending_.data() + done, pending_.size() - done);
        if (!wrote || *wrote == 0) {
            return false;
        }
        done += *wrote;
    }
    pending_.clear();
    return true;
}

void RunJournal::PeriodOpened(const std::string& fileName, bool existedBefore,
                              std::uint64_t sizeAtOpen) {
    if (failed_) {
        return;
    }
    if (!file_ && !Start()) {
        failed_ = true;
        return;
    }
    const std::string name = NameInDirectory(fileName);
    journal::AppendOpened(pending_, name, existedBefore, sizeAtOpen);
    FileState& state = files_[name];
    open_ = &state;  // map nodes stay put
    openName_ = fileName;
    if (state.written && sizeAtOpen != state.next) {
        state.result.interleaved = true;  // another writer between two openings by this run
    }
    // What the run is about to do to a file is on disk before it does it.
    failed_ = !Flush();
}

void RunJournal::RecordWritten(const std::string& fileName, std::uint64_t offset,
                               std::uint64_t sizeBefore, std::string_view overwritten,
                               std::string_view written) {
    if (failed_ || !file_) {
        failed_ = true;
        return;
    }
    // Records go to the file opened last: no name built and looked up per record.
    FileState& state =
        open_ != nullptr && fileName == openName_ ? *open_ : files_[NameInDirectory(fileName)];
    if (!state.written) {
        if (!state.digest.emplace().Ready()) {
            failed_ = true;
            return;
        }
        state.written = true;
        state.result.sizeBefore = sizeBefore;
        state.result.firstOffset = offset;
        state.result.overwritten = overwritten;
        state.next = offset;
    } else if (offset != state.next || sizeBefore != state.next) {
        // The appends are not one run of bytes: another writer came between them. Undo refuses
        // such a file, so the digest need not go on.
        state.result.interleaved = true;
    }
    if (state.result.interleaved) {
        return;
    }
    state.digest->Add(written);
    state.next += written.size();
    if (written.size() == LedgerEntry::kSize) {
        ++state.result.records;
    }
}

bool RunJournal::Finish() {
    if (finished_) {
        return !failed_;
    }
    finished_ = true;
    if (!file_) {
        return !failed_;  // no period file was opened: nothing to undo, no journal
    }
    if (!failed_) {
        for (auto& [name, state] : files_) {
            if (!state.written) {
                continue;
            }
            journal::AppendedFile& result = state.result;
            result.fileName = name;
            result.sizeAfter = std::max(state.next, result.sizeBefore);
            if (!result.interleaved) {
                // A write that fell short of the part-record left the rest of it in place.
                const std::uint64_t appended = state.next - result.firstOffset;
                if (appended < result.overwritten.size()) {
                    const std::string_view rest =
                        std::string_view(result.overwritten).substr(appended);
                    state.digest->Add(rest);
                }
                result.digest = state.digest->Value();
            }
            journal::AppendFileEntry(pending_, result);
        }
        journal::AppendEnd(pending_);
        failed_ = !Flush();
    }
    const bool closed = file_->Close().ok();
    file_.reset();
    if (failed_ || !closed) {
        failed_ = true;
        (void)directory_->Remove(name_);
    }
    return !failed_;
}

}  // namespace trevo

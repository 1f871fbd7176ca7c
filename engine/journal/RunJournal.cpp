#include "engine/journal/RunJournal.h"

#include <algorithm>
#include <vector>

#include "engine/journal/JournalFormat.h"

namespace trevo {

namespace {

// Records are written in blocks of about this size: a few writes per run, memory flat.
constexpr std::size_t kBlock = 64 * 1024;
constexpr int kNumberAttempts = 100;

}  // namespace

RunJournal::RunJournal(FileSystem& fileSystem, std::string ledgerDir, std::string exportPath,
                       LocalDateTime started)
    : fileSystem_(fileSystem),
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
    const std::string directory = journal::JournalDirectory(ledgerDir_);
    if (!fileSystem_.MakeDirectory(directory)) {
        return false;
    }
    const auto names = fileSystem_.ListDirectory(directory);
    if (!names) {
        return false;
    }
    std::vector<std::uint32_t> numbers;
    for (const std::string& name : *names) {
        if (const auto number = journal::JournalNumber(name)) {
            numbers.push_back(*number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    std::uint32_t next = numbers.empty() ? 1 : numbers.back() + 1;
    // Another run may take the same number at the same moment: the file is made only if it
    // is new.
    for (int attempt = 0; attempt < kNumberAttempts && !file_; ++attempt, ++next) {
        path_ = directory + kPathSeparator + journal::JournalFileName(next);
        file_ = fileSystem_.CreateNewRecordFile(path_);
    }
    if (!file_) {
        path_.clear();
        return false;
    }
    // Only the most recent runs can be undone; older journals go.
    if (numbers.size() + 1 > journal::kRunsKept) {
        const std::size_t surplus = numbers.size() + 1 - journal::kRunsKept;
        for (std::size_t i = 0; i < surplus; ++i) {
            fileSystem_.RemoveFile(directory + kPathSeparator +
                                   journal::JournalFileName(numbers[i]));
        }
    }
    journal::AppendHeader(pending_, exportPath_, started_);
    return true;
}

bool RunJournal::Flush() {
    std::size_t done = 0;
    while (done < pending_.size()) {
        const std::size_t wrote = file_->Write(pending_.data() + done, pending_.size() - done);
        if (wrote == 0) {
            return false;
        }
        done += wrote;
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
    journal::AppendOpened(pending_, NameInDirectory(fileName), existedBefore, sizeAtOpen);
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
    journal::AppendWritten(pending_, NameInDirectory(fileName), offset, sizeBefore, overwritten,
                           written);
    if (pending_.size() >= kBlock) {
        failed_ = !Flush();
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
        journal::AppendEnd(pending_);
        failed_ = !Flush();
    }
    const bool closed = file_->Close();
    file_.reset();
    if (failed_ || !closed) {
        failed_ = true;
        fileSystem_.RemoveFile(path_);
    }
    return !failed_;
}

}  // namespace trevo

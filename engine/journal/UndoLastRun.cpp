#include "engine/journal/UndoLastRun.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "engine/files/FileSystem.h"
#include "engine/journal/JournalFormat.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/PeriodFileReading.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kUnreadable = "Nie można odczytać dziennika %s"_w1250;
constexpr auto kDamaged = "Dziennik %s jest uszkodzony"_w1250;
constexpr auto kUnfinished =
    "Przebieg z dziennika %s nie został zakończony - nie można go cofnąć dokładnie"_w1250;
constexpr auto kInconsistent = "Dziennik %s nie zgadza się sam ze sobą (plik %s)"_w1250;
constexpr auto kMissing = "Plik %s nie istnieje albo nie można go otworzyć"_w1250;
constexpr auto kLocked = "Plik %s jest używany przez inny przebieg konwersji"_w1250;
constexpr auto kNoSize = "Nie można ustalić rozmiaru pliku %s"_w1250;
constexpr auto kWrittenAfter =
    "Plik %s nie kończy się rekordami tego przebiegu: ma %d bajtów, przebieg zostawił %d"_w1250;
constexpr auto kInterleaved =
    "Do pliku %s pisał w trakcie tego przebiegu ktoś inny - nie można go cofnąć dokładnie"_w1250;
constexpr auto kChanged = "Rekordy tego przebiegu w pliku %s zostały zmienione"_w1250;
constexpr auto kRemoveFailed = "Nie można usunąć pliku %s"_w1250;
constexpr auto kRestoreFailed = "Nie można przywrócić pliku %s"_w1250;
constexpr auto kOvertaken = "Po przebiegu z dziennika %s zapisał już następny przebieg"_w1250;
constexpr auto kJournalKept = "Pliki przywrócono, ale nie można usunąć dziennika %s"_w1250;

struct FilePlan {
    std::string name;
    std::string path;
    bool existedBefore = false;
    std::uint64_t sizeAtOpen = 0;
    std::vector<const journal::WrittenRecord*> writes;
    std::unique_ptr<RecordFile> file;
    std::optional<UndoFileStep> step;
};

std::optional<std::string> ReadAll(FileSystem& fileSystem, const std::string& path) {
    const auto file = fileSystem.OpenForReading(path);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        const auto got = file->Read(buffer, sizeof buffer);
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            return bytes;
        }
        bytes.append(buffer, *got);
    }
}

// Checks one file against what the run left in it; on success `plan.step` says what to do.
// Otherwise the reason, with nothing changed.
std::optional<std::string> Check(FileSystem& fileSystem, const std::string& journalPath,
                                 FilePlan& plan) {
    const bool createdByRun = !plan.existedBefore && plan.sizeAtOpen == 0;
    plan.file = fileSystem.OpenExistingRecordFile(plan.path);
    if (!plan.file) {
        if (plan.writes.empty() && createdByRun && !fileSystem.FileExists(plan.path)) {
            return std::nullopt;  // created empty and gone since: nothing to put back
        }
        return FormatMessage(kMissing, {plan.path});
    }
    if (plan.file->LockAgainstOtherRuns() != LockOutcome::Taken) {
        return FormatMessage(kLocked, {plan.path});
    }
    const auto size = plan.file->SizeInBytes();
    if (!size) {
        return FormatMessage(kNoSize, {plan.path});
    }
    UndoFileStep step;
    step.fileName = plan.name;
    step.sizeNow = *size;
    if (plan.writes.empty()) {
        if (!createdByRun) {
            return std::nullopt;  // opened, never written: nothing to put back
        }
        if (*size != 0) {
            return FormatMessage(kWrittenAfter, {plan.path, static_cast<std::int64_t>(*size), 0});
        }
        step.remove = true;
        plan.step = step;
        return std::nullopt;
    }

    // What the file holds from the run's first append on, as the run left it.
    const journal::WrittenRecord& first = *plan.writes.front();
    if (first.sizeBefore < first.offset ||
        first.sizeBefore - first.offset != first.overwritten.size()) {
        return FormatMessage(kInconsistent, {journalPath, plan.path});
    }
    const std::uint64_t start = first.offset;
    std::string expected = first.overwritten;
    std::uint64_t expectedSize = first.sizeBefore;
    for (const journal::WrittenRecord* write : plan.writes) {
        if (write != &first && write->sizeBefore != expectedSize) {
            return FormatMessage(kInterleaved, {plan.path});
        }
        if (write->offset < start || write->offset > expectedSize) {
            return FormatMessage(kInconsistent, {journalPath, plan.path});
        }
        const auto at = static_cast<std::size_t>(write->offset - start);
        if (expected.size() < at + write->written.size()) {
            expected.resize(at + write->written.size());
        }
        std::copy(write->written.begin(), write->written.end(),
                  expected.begin() + static_cast<std::ptrdiff_t>(at));
        expectedSize = std::max<std::uint64_t>(expectedSize, write->offset + write->written.size());
    }
    if (*size != expectedSize) {
        return FormatMessage(kWrittenAfter, {plan.path, static_cast<std::int64_t>(*size),
                                             static_cast<std::int64_t>(expectedSize)});
    }
    std::string actual(expected.size(), '\0');
    if (plan.file->ReadAt(start, actual.data(), actual.size()) != actual.size() ||
        actual != expected) {
        return FormatMessage(kChanged, {plan.path});
    }
    step.sizeBefore = first.sizeBefore;
    step.bytesRestored = first.overwritten.size();
    step.recordsRemoved = static_cast<std::uint64_t>(std::count_if(
        plan.writes.begin(), plan.writes.end(),
        [](const journal::WrittenRecord* w) { return w->written.size() == LedgerEntry::kSize; }));
    step.remove = createdByRun && first.sizeBefore == 0;
    plan.step = step;
    return std::nullopt;
}

bool Apply(FileSystem& fileSystem, FilePlan& plan) {
    const UndoFileStep& step = *plan.step;
    if (step.remove) {
        return fileSystem.RemoveOpenFile(plan.path, *plan.file);
    }
    if (!plan.writes.empty()) {
        const journal::WrittenRecord& first = *plan.writes.front();
        if (!first.overwritten.empty() &&
            (!plan.file->Seek(first.offset) ||
             plan.file->Write(first.overwritten.data(), first.overwritten.size()) !=
                 first.overwritten.size())) {
            return false;
        }
    }
    return plan.file->Truncate(step.sizeBefore);
}

}  // namespace

namespace {

std::optional<std::uint32_t> LatestJournal(FileSystem& fileSystem, const std::string& directory) {
    const auto names = fileSystem.ListDirectory(directory);
    std::optional<std::uint32_t> latest;
    for (const std::string& name : names.value_or(std::vector<std::string>{})) {
        const auto number = journal::JournalNumber(name);
        if (number && (!latest || *number > *latest)) {
            latest = number;
        }
    }
    return latest;
}

}  // namespace

UndoReport UndoLastRun(FileSystem& fileSystem, const std::string& ledgerDir, bool checkOnly) {
    UndoReport report;
    const std::string directory = journal::JournalDirectory(ledgerDir);
    const std::optional<std::uint32_t> latest = LatestJournal(fileSystem, directory);
    if (!latest) {
        return report;
    }
    report.journalPath = directory + kPathSeparator + journal::JournalFileName(*latest);
    const auto refuse = [&report](std::string problem) {
        report.status = UndoReport::Status::Refused;
        report.problem = std::move(problem);
        report.steps.clear();
        return report;
    };

    const auto bytes = ReadAll(fileSystem, report.journalPath);
    if (!bytes) {
        return refuse(FormatMessage(kUnreadable, {report.journalPath}));
    }
    const auto journal = journal::ParseJournal(*bytes);
    if (!journal) {
        return refuse(FormatMessage(kDamaged, {report.journalPath}));
    }
    report.exportPath = journal->exportPath;
    report.started = journal->started;
    if (!journal->ended) {
        return refuse(FormatMessage(kUnfinished, {report.journalPath}));
    }

    // A journal names period files of this directory only; anything else (a path, "..") is no
    // journal this program wrote, and nothing outside the directory is ever touched.
    for (const std::string& name : journal->fileOrder) {
        if (!ParsePeriodFileName(name)) {
            return refuse(FormatMessage(kDamaged, {report.journalPath}));
        }
    }
    std::vector<FilePlan> plans(journal->fileOrder.size());
    const auto planOf = [&](const std::string& name) -> FilePlan& {
        const auto at = std::find(journal->fileOrder.begin(), journal->fileOrder.end(), name);
        return plans[static_cast<std::size_t>(at - journal->fileOrder.begin())];
    };
    for (std::size_t i = 0; i < plans.size(); ++i) {
        plans[i].name = journal->fileOrder[i];
        plans[i].path = ledgerDir + kPathSeparator + plans[i].name;
        plans[i].existedBefore = true;  // a file written without an opening on record is kept
        plans[i].sizeAtOpen = 1;
    }
    std::vector<bool> seen(plans.size(), false);
    for (const journal::OpenedRecord& opened : journal->opened) {
        FilePlan& plan = planOf(opened.fileName);
        const auto index = static_cast<std::size_t>(&plan - plans.data());
        if (!seen[index]) {
            seen[index] = true;
            plan.existedBefore = opened.existedBefore;
            plan.sizeAtOpen = opened.sizeAtOpen;
        }
    }
    for (const journal::WrittenRecord& write : journal->writes) {
        planOf(write.fileName).writes.push_back(&write);
    }

    // Every file locked and checked before anything changes.
    for (FilePlan& plan : plans) {
        if (auto problem = Check(fileSystem, report.journalPath, plan)) {
            return refuse(std::move(*problem));
        }
        if (plan.step) {
            report.steps.push_back(*plan.step);
        }
    }
    // A run that took one of these files after the journal was chosen has a newer journal by
    // now (a run makes it as it opens its first file): undoing the older run would take away
    // records that run found booked and skipped.
    if (LatestJournal(fileSystem, directory) != latest) {
        return refuse(FormatMessage(kOvertaken, {report.journalPath}));
    }
    report.status = UndoReport::Status::Done;
    if (checkOnly) {
        return report;
    }
    for (FilePlan& plan : plans) {
        if (plan.step && !Apply(fileSystem, plan)) {
            report.status = UndoReport::Status::Failed;
            report.problem =
                FormatMessage(plan.step->remove ? kRemoveFailed : kRestoreFailed, {plan.path});
            return report;
        }
    }
    if (!fileSystem.RemoveFile(report.journalPath)) {
        report.status = UndoReport::Status::Failed;
        report.problem = FormatMessage(kJournalKept, {report.journalPath});
    }
    return report;
}

}  // namespace trevo

#include "engine/journal/UndoLastRun.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "engine/files/FileSystem.h"
#include "engine/journal/AppendDigest.h"
#include "engine/journal/JournalFormat.h"
#include "engine/ledger/Period.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kNoDirectory = "Nie można otworzyć katalogu %s"_w1250;
constexpr auto kFolderUnusable =
    "%s nie jest folderem (np. jest dowiązaniem) - dziennika z niego nie używa się"_w1250;
constexpr auto kFolderUnreadable = "Nie można odczytać folderu dziennika %s"_w1250;
constexpr auto kFolderLocked =
    "Nie można zmieniać nazw w folderze dziennika %s (brak prawa zapisu)"_w1250;
constexpr auto kUnreadable = "Nie można odczytać dziennika %s"_w1250;
constexpr auto kSetAsideHint =
    ". Polecenie \"trevo2kpr-cli undo --discard-unfinished\" odkłada ten dziennik bez zmiany "
    "plików danych; potem można cofać przebiegi wcześniejsze"_w1250;
constexpr auto kDamaged =
    "Dziennik %s jest uszkodzony (nie zgadza się suma kontrolna albo układ)"_w1250;
constexpr auto kOldFormat =
    "Dziennik %s jest w formacie poprzedniej wersji programu, bez sum kontrolnych - nie można "
    "na nim polegać"_w1250;
constexpr auto kUnfinished =
    "Przebieg z dziennika %s nie został zakończony (przerwany albo jeszcze trwa) - nie można go "
    "cofnąć dokładnie; pliki, które zmienił, trzeba sprawdzić samemu"_w1250;
constexpr auto kInconsistent = "Dziennik %s nie zgadza się sam ze sobą (plik %s)"_w1250;
constexpr auto kMissing =
    "Plik %s nie istnieje albo nie można go otworzyć do zapisu (np. jest tylko do odczytu)"_w1250;
constexpr auto kLocked = "Plik %s jest używany przez inny przebieg konwersji"_w1250;
constexpr auto kNoSize = "Nie można ustalić rozmiaru pliku %s"_w1250;
constexpr auto kWrittenAfter =
    "Plik %s nie kończy się rekordami tego przebiegu: ma %d bajtów, przebieg zostawił %d"_w1250;
constexpr auto kInterleaved =
    "Do pliku %s pisał w trakcie tego przebiegu ktoś inny - nie można go cofnąć dokładnie"_w1250;
constexpr auto kChanged = "Rekordy tego przebiegu w pliku %s zostały zmienione"_w1250;
constexpr auto kCannotRemove =
    "Pliku %s nie można usunąć (brak prawa zapisu do katalogu danych KPR)"_w1250;
constexpr auto kAsideInTheWay =
    "Nazwa %s, pod którą cofanie odkłada plik przed usunięciem, jest zajęta"_w1250;
constexpr auto kCannotMark = "Nie można zapisać w folderze dziennika %s"_w1250;
constexpr auto kRemoveFailed = "Nie można usunąć pliku %s"_w1250;
constexpr auto kRestoreFailed = "Nie można przywrócić pliku %s"_w1250;
constexpr auto kPutBack = " - wszystko, co zdążono zmienić, przywrócono"_w1250;
constexpr auto kNotPutBack =
    " - nie wszystko dało się przywrócić; następne polecenie undo dokończy cofanie"_w1250;
constexpr auto kAsideLeft = "Pliki przywrócono, ale nie można usunąć pliku %s"_w1250;
constexpr auto kJournalKept =
    "Pliki przywrócono, ale nie można usunąć dziennika %s; następne polecenie undo tylko go "
    "usunie"_w1250;
constexpr auto kNothingToSetAside =
    "Najnowszy dziennik %s jest zakończony i cały - cofa go polecenie undo, nie ma czego "
    "odkładać"_w1250;
constexpr auto kUndoUnderWay =
    "Cofanie przebiegu z dziennika %s zostało przerwane - dokończy je polecenie undo"_w1250;
constexpr auto kCannotSetAside = "Nie można zmienić nazwy dziennika %s"_w1250;

// A journal this program writes is a few hundred bytes a period file; a longer one is damage.
constexpr std::size_t kMaxJournalSize = 4 * 1024 * 1024;
constexpr std::size_t kBlock = 64 * 1024;
// A file the run created is first renamed to this within the ledger directory, a name the
// ledger program never reads, and removed when everything else is done.
constexpr std::string_view kAsideSuffix = ".cofniety";

struct LatestJournal {
    std::unique_ptr<Directory> ledger;
    std::unique_ptr<Directory> folder;
    std::string name;      // within the folder
    bool undoing = false;  // an undo of it stopped part way
};
constexpr auto kOvertaken = "Po przebiegu z dziennika %s zapisał już następny przebieg"_w1250;

struct FilePlan {
    std::string name;
    std::string path;
    bool existedBefore = true;  // a file written without an opening on record is kept
    std::uint64_t sizeAtOpen = 1;
    const journal::AppendedFile* result = nullptr;
    std::unique_ptr<RecordFile> file;
    std::optional<UndoFileStep> step;
    bool asideOnly = false;        // renamed aside by the undo that stopped: only removal left
    bool onlyRewritePart = false;  // cut back by the undo that stopped
    bool changed = false;
    std::uint64_t savedAt = 0;  // where its bytes are in the saved file
};

bool WriteAll(RecordFile& file, std::uint64_t offset, std::string_view bytes) {
    if (!file.Seek(offset)) {
        return false;
    }
    while (!bytes.empty()) {
        const auto wrote = file.Write(bytes.data(), bytes.size());
        if (!wrote || *wrote == 0) {
            return false;
        }
        bytes.remove_prefix(*wrote);
    }
    return true;
}

// Exactly `size` bytes at `offset`: a file cut short since is a failure too.
bool ReadExactly(RecordFile& file, std::uint64_t offset, char* buffer, std::size_t size) {
    const auto got = file.ReadAt(offset, buffer, size);
    return got && *got == size;
}

// Copies `length` bytes in blocks, memory flat whatever the size.
bool CopyBytes(RecordFile& from, std::uint64_t fromOffset, RecordFile& to, std::uint64_t toOffset,
               std::uint64_t length) {
    std::string buffer(kBlock, '\0');
    for (std::uint64_t done = 0; done < length;) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, length - done));
        if (!ReadExactly(from, fromOffset + done, buffer.data(), size) ||
            !WriteAll(to, toOffset + done, std::string_view(buffer).substr(0, size))) {
            return false;
        }
        done += size;
    }
    return true;
}

std::optional<journal::Digest> DigestOf(RecordFile& file, std::uint64_t from, std::uint64_t to) {
    journal::AppendDigest digest;
    if (!digest.Ready()) {
        return std::nullopt;
    }
    std::string buffer(kBlock, '\0');
    for (std::uint64_t at = from; at < to;) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, to - at));
        if (!ReadExactly(file, at, buffer.data(), size)) {
            return std::nullopt;
        }
        digest.Add(std::string_view(buffer).substr(0, size));
        at += size;
    }
    return digest.Value();
}

std::optional<std::string> ReadJournalBytes(Directory& folder, const std::string& name) {
    const auto opened = folder.OpenForReading(name);
    if (!opened) {
        return std::nullopt;
    }
    InputFile& file = **opened;
    std::string bytes;
    std::string buffer(kBlock, '\0');
    while (bytes.size() <= kMaxJournalSize) {
        const auto got = file.Read(buffer.data(), buffer.size());
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            break;
        }
        bytes.append(buffer, 0, *got);
    }
    return bytes;
}

// Nothing was changed, for the reason given.
UndoReport Refused(UndoReport& report, std::string problem) {
    report.status = UndoReport::Status::Refused;
    report.problem = std::move(problem);
    report.steps.clear();
    return report;
}

// The name of the journal with the highest number among a folder's names.
std::optional<std::string> NewestJournal(const std::vector<std::string>& names) {
    std::optional<std::uint64_t> newest;
    std::optional<std::string> name;
    for (const std::string& candidate : names) {
        const auto number = journal::JournalNumber(candidate);
        if (number && (!newest || *number > *newest)) {
            newest = number;
            name = candidate;
        }
    }
    return name;
}

// The most recent journal of the directory; nothing when there is none, or when the folder
// cannot be used (the report then says why).
std::optional<LatestJournal> FindLatest(DirectoryStore& directories, const std::string& ledgerDir,
                                        UndoReport& report) {
    const auto refuse = [&report](std::string problem) {
        Refused(report, std::move(problem));
        return std::nullopt;
    };
    const std::string folderPath = journal::JournalDirectory(ledgerDir);
    LatestJournal latest;
    auto ledger = directories.OpenDirectory(ledgerDir);
    if (!ledger) {
        return refuse(FormatMessage(kNoDirectory, {ledgerDir}));
    }
    latest.ledger = *std::move(ledger);
    // Never through a link: a journal found elsewhere would undo files elsewhere.
    auto folder = latest.ledger->OpenDirectory(std::string(journal::kDirectoryName), false);
    if (!folder) {
        const auto names = latest.ledger->List();
        if (names &&
            std::find(names->begin(), names->end(), journal::kDirectoryName) != names->end()) {
            return refuse(FormatMessage(kFolderUnusable, {folderPath}));
        }
        return std::nullopt;
    }
    latest.folder = *std::move(folder);
    const auto names = latest.folder->List();
    if (!names) {
        return refuse(FormatMessage(kFolderUnreadable, {folderPath}));
    }
    const auto newest = NewestJournal(*names);
    if (!newest) {
        return std::nullopt;
    }
    latest.name = *newest;
    latest.undoing = std::find(names->begin(), names->end(),
                               latest.name + std::string(journal::kUndoingSuffix)) != names->end();
    report.journalPath = folderPath + kPathSeparator + latest.name;
    return latest;
}

// Checks one file against what the run left in it; on success `plan.step` says what to do.
// Otherwise the reason, with nothing changed. `resuming`: an earlier undo of this run stopped
// part way, so a file may already be as it was before the run.
std::optional<std::string> Check(FileSystem& fileSystem, Directory& ledger,
                                 const std::string& journalPath, bool resuming, FilePlan& plan) {
    const bool createdByRun = !plan.existedBefore && plan.sizeAtOpen == 0;
    const journal::AppendedFile* result = plan.result;
    const bool removes = createdByRun && (!result || result->sizeBefore == 0);
    UndoFileStep step;
    step.fileName = plan.name;
    step.remove = removes;
    if (result) {
        if (result->interleaved) {
            return FormatMessage(kInterleaved, {plan.path});
        }
        if (result->firstOffset > result->sizeBefore ||
            result->sizeBefore - result->firstOffset != result->overwritten.size() ||
            result->sizeAfter < result->sizeBefore || result->sizeAfter <= result->firstOffset) {
            return FormatMessage(kInconsistent, {journalPath, plan.path});
        }
        step.sizeBefore = result->sizeBefore;
        step.bytesRestored = result->overwritten.size();
        step.recordsRemoved = result->records;
    }

    auto opened = fileSystem.OpenExistingRecordFile(plan.path);
    if (!opened) {
        if (removes && (!result || resuming) && !fileSystem.FileExists(plan.path)) {
            if (resuming && ledger.OpenForReading(plan.name + std::string(kAsideSuffix))) {
                plan.asideOnly = true;  // renamed aside, not yet removed
                plan.step = step;
            }
            // Otherwise created empty and gone since, or removed by the undo that stopped:
            // nothing to put back.
            return std::nullopt;
        }
        return FormatMessage(kMissing, {plan.path});
    }
    plan.file = *std::move(opened);
    if (!plan.file->LockAgainstOtherRuns()) {
        return FormatMessage(kLocked, {plan.path});
    }
    const auto size = plan.file->SizeInBytes();
    if (!size) {
        return FormatMessage(kNoSize, {plan.path});
    }
    step.sizeNow = *size;
    if (removes && !ledger.MayChangeName(plan.name)) {
        return FormatMessage(kCannotRemove, {plan.path});
    }
    if (removes) {
        // The name the file is renamed to first must be free: a rename never replaces.
        const std::string aside = plan.name + std::string(kAsideSuffix);
        const auto names = ledger.List();
        if (!names || std::find(names->begin(), names->end(), aside) != names->end()) {
            return FormatMessage(kAsideInTheWay, {plan.path + std::string(kAsideSuffix)});
        }
    }
    if (!result) {
        if (!createdByRun) {
            return std::nullopt;  // opened, never written: nothing to put back
        }
        if (*size != 0) {
            return FormatMessage(kWrittenAfter, {plan.path, static_cast<std::int64_t>(*size), 0});
        }
        plan.step = step;
        return std::nullopt;
    }
    if (resuming && !removes && *size == result->sizeBefore) {
        plan.onlyRewritePart = true;  // cut back already; the part-record is written again
        plan.step = step;
        return std::nullopt;
    }
    if (*size != result->sizeAfter) {
        return FormatMessage(kWrittenAfter, {plan.path, static_cast<std::int64_t>(*size),
                                             static_cast<std::int64_t>(result->sizeAfter)});
    }
    const auto digest = DigestOf(*plan.file, result->firstOffset, result->sizeAfter);
    if (!digest || *digest != result->digest) {
        return FormatMessage(kChanged, {plan.path});
    }
    plan.step = step;
    return std::nullopt;
}

class Undoing {
  public:
    Undoing(FileSystem& fileSystem, const std::string& ledgerDir, LatestJournal& latest,
            std::vector<FilePlan>& plans, UndoReport& report)
        : fileSystem_(fileSystem),
          ledgerDir_(ledgerDir),
          latest_(latest),
          plans_(plans),
          report_(report),
          markName_(latest.name + std::string(journal::kUndoingSuffix)),
          savedName_(latest.name + std::string(journal::kSavedSuffix)) {}

    void Run() {
        Directory& folder = *latest_.folder;
        if (!latest_.undoing) {
            // The mark is on disk before any period file changes: an undo killed part way is
            // finished by the next one.
            bool marked = false;
            if (auto mark = folder.CreateNewFile(markName_)) {
                marked = (*mark)->Close() && folder.Sync();
            }
            if (!marked) {
                (void)folder.Remove(markName_);
                Refuse(FormatMessage(kCannotMark, {report_.journalPath}));
                return;
            }
        } else {
            (void)folder.Remove(savedName_);  // of the undo that stopped; made again
        }
        auto saved = folder.CreateNewFile(savedName_);
        if (!saved) {
            if (!latest_.undoing) {
                (void)folder.Remove(markName_);
            }
            Refuse(FormatMessage(kCannotMark, {report_.journalPath}));
            return;
        }
        saved_ = *std::move(saved);
        for (FilePlan& plan : plans_) {
            if (plan.step && !Apply(plan)) {
                Fail(plan);
                return;
            }
        }
        Finish();
    }

  private:
    void Refuse(std::string problem) { Refused(report_, std::move(problem)); }

    std::string AsideName(const FilePlan& plan) const {
        return plan.name + std::string(kAsideSuffix);
    }

    bool Apply(FilePlan& plan) {
        const UndoFileStep& step = *plan.step;
        if (step.remove) {
            if (plan.asideOnly) {
                return true;
            }
            // Renamed aside, not removed, so that it can be put back.
            plan.changed = latest_.ledger->Rename(plan.name, AsideName(plan)).ok();
            return plan.changed;
        }
        const journal::AppendedFile& result = *plan.result;
        if (!plan.onlyRewritePart) {
            // The bytes cut off are kept first, so that a later failure can put them back.
            plan.savedAt = savedSize_;
            const std::uint64_t length = result.sizeAfter - result.firstOffset;
            if (!CopyBytes(*plan.file, result.firstOffset, *saved_, savedSize_, length)) {
                return false;
            }
            savedSize_ += length;
            plan.changed = true;
            if (!plan.file->Truncate(result.sizeBefore)) {
                return false;
            }
        }
        return WriteAll(*plan.file, result.firstOffset, result.overwritten);
    }

    bool PutBack(FilePlan& plan) {
        if (!plan.changed) {
            return true;
        }
        if (plan.step->remove) {
            return latest_.ledger->Rename(AsideName(plan), plan.name).ok();
        }
        const journal::AppendedFile& result = *plan.result;
        return CopyBytes(*saved_, plan.savedAt, *plan.file, result.firstOffset,
                         result.sizeAfter - result.firstOffset);
    }

    void Fail(FilePlan& failed) {
        std::string problem =
            FormatMessage(failed.step->remove ? kRemoveFailed : kRestoreFailed, {failed.path});
        bool putBack = true;
        for (auto plan = plans_.rbegin(); plan != plans_.rend(); ++plan) {
            if (plan->step && !PutBack(*plan)) {
                putBack = false;
            }
        }
        if (putBack && !latest_.undoing) {
            saved_.reset();
            (void)latest_.folder->Remove(savedName_);
            (void)latest_.folder->Remove(markName_);
            report_.status = UndoReport::Status::RolledBack;
            problem += std::string(kPutBack);
        } else {
            // The mark stays: what the undo that stopped had done cannot be taken back here.
            report_.status = UndoReport::Status::FailedPartWay;
            problem += std::string(kNotPutBack);
        }
        report_.problem = std::move(problem);
    }

    void Finish() {
        Directory& folder = *latest_.folder;
        for (FilePlan& plan : plans_) {
            if (!plan.step || !plan.step->remove) {
                continue;
            }
            const std::string aside = AsideName(plan);
            const bool removed = (plan.file ? fileSystem_.RemoveOpenFile(
                                                  ledgerDir_ + kPathSeparator + aside, *plan.file)
                                            : latest_.ledger->Remove(aside))
                                     .ok();
            if (!removed && report_.warning.empty()) {
                report_.warning = FormatMessage(kAsideLeft, {ledgerDir_ + kPathSeparator + aside});
            }
        }
        saved_.reset();
        if (!folder.Remove(latest_.name)) {
            // The mark stays, so that the next undo finds every file undone and removes it.
            report_.warning = FormatMessage(kJournalKept, {report_.journalPath});
            return;
        }
        (void)folder.Remove(savedName_);
        (void)folder.Remove(markName_);
        (void)folder.Sync();
    }

    FileSystem& fileSystem_;
    const std::string& ledgerDir_;
    LatestJournal& latest_;
    std::vector<FilePlan>& plans_;
    UndoReport& report_;
    std::string markName_;
    std::string savedName_;
    std::unique_ptr<RecordFile> saved_;
    std::uint64_t savedSize_ = 0;
};

std::string JournalProblem(const journal::Journal& journal, const std::string& path) {
    switch (journal.state) {
        case journal::JournalState::OldFormat:
            return FormatMessage(kOldFormat, {path}) + std::string(kSetAsideHint);
        case journal::JournalState::Unfinished:
            return FormatMessage(kUnfinished, {path}) + std::string(kSetAsideHint);
        case journal::JournalState::Damaged:
            return FormatMessage(kDamaged, {path}) + std::string(kSetAsideHint);
        case journal::JournalState::Ended:
            break;
    }
    return {};
}

}  // namespace

UndoReport UndoLastRun(FileSystem& fileSystem, const std::string& ledgerDir, bool checkOnly) {
    UndoReport report;
    auto latest = FindLatest(fileSystem, ledgerDir, report);
    if (!latest) {
        return report;
    }

    const auto bytes = ReadJournalBytes(*latest->folder, latest->name);
    if (!bytes) {
        return Refused(report, FormatMessage(kUnreadable, {report.journalPath}));
    }
    journal::Journal journal = journal::ParseJournal(*bytes);
    if (bytes->size() > kMaxJournalSize && journal.state != journal::JournalState::OldFormat) {
        journal.state = journal::JournalState::Damaged;
    }
    if (journal.state != journal::JournalState::Ended) {
        return Refused(report, JournalProblem(journal, report.journalPath));
    }
    report.exportPath = journal.exportPath;
    report.started = journal.started;
    report.resumed = latest->undoing;

    // A journal names period files of this directory only; anything else (a path, "..") is no
    // journal this program wrote, and nothing outside the directory is ever touched.
    for (const std::string& name : journal.fileOrder) {
        if (!ParsePeriodFileName(name)) {
            return Refused(report, FormatMessage(kDamaged, {report.journalPath}));
        }
    }
    std::vector<FilePlan> plans(journal.fileOrder.size());
    const auto planOf = [&](const std::string& name) -> FilePlan& {
        const auto at = std::find(journal.fileOrder.begin(), journal.fileOrder.end(), name);
        return plans[static_cast<std::size_t>(at - journal.fileOrder.begin())];
    };
    for (std::size_t i = 0; i < plans.size(); ++i) {
        plans[i].name = journal.fileOrder[i];
        plans[i].path = ledgerDir + kPathSeparator + plans[i].name;
    }
    std::vector<bool> seen(plans.size(), false);
    for (const journal::OpenedRecord& opened : journal.opened) {
        FilePlan& plan = planOf(opened.fileName);
        const auto index = static_cast<std::size_t>(&plan - plans.data());
        if (!seen[index]) {
            seen[index] = true;
            plan.existedBefore = opened.existedBefore;
            plan.sizeAtOpen = opened.sizeAtOpen;
        }
    }
    for (const journal::AppendedFile& result : journal.files) {
        FilePlan& plan = planOf(result.fileName);
        if (plan.result) {
            return Refused(report, FormatMessage(kInconsistent, {report.journalPath, plan.path}));
        }
        plan.result = &result;
    }

    // Every file locked and checked, and every name change allowed, before anything changes.
    if (!latest->folder->MayChangeName(latest->name)) {
        return Refused(report,
                       FormatMessage(kFolderLocked, {journal::JournalDirectory(ledgerDir)}));
    }
    for (FilePlan& plan : plans) {
        if (auto problem =
                Check(fileSystem, *latest->ledger, report.journalPath, latest->undoing, plan)) {
            return Refused(report, std::move(*problem));
        }
        if (plan.step) {
            report.steps.push_back(*plan.step);
        }
    }
    // A run that took one of these files after the journal was chosen has a newer journal by
    // now (a run makes it as it opens its first file): undoing the older run would take away
    // records that run found booked and skipped.
    if (const auto names = latest->folder->List();
        !names || NewestJournal(*names) != latest->name) {
        return Refused(report, FormatMessage(kOvertaken, {report.journalPath}));
    }
    report.status = UndoReport::Status::Done;
    if (checkOnly) {
        return report;
    }
    Undoing(fileSystem, ledgerDir, *latest, plans, report).Run();
    return report;
}

UndoReport DiscardUnfinishedRun(DirectoryStore& directories, const std::string& ledgerDir) {
    UndoReport report;
    auto latest = FindLatest(directories, ledgerDir, report);
    if (!latest) {
        return report;
    }
    if (latest->undoing) {
        return Refused(report, FormatMessage(kUndoUnderWay, {report.journalPath}));
    }
    const auto bytes = ReadJournalBytes(*latest->folder, latest->name);
    if (bytes) {
        const journal::Journal journal = journal::ParseJournal(*bytes);
        if (journal.state == journal::JournalState::Ended && bytes->size() <= kMaxJournalSize) {
            return Refused(report, FormatMessage(kNothingToSetAside, {report.journalPath}));
        }
        report.exportPath = journal.exportPath;
        report.started = journal.started;
    }
    // A journal that cannot even be read is set aside too: undo cannot use it either.
    const std::string aside = latest->name + std::string(journal::kSetAsideSuffix);
    if (!latest->folder->Rename(latest->name, aside)) {
        return Refused(report, FormatMessage(kCannotSetAside, {report.journalPath}));
    }
    (void)latest->folder->Sync();
    report.status = UndoReport::Status::Done;
    report.setAsideAs = journal::JournalDirectory(ledgerDir) + kPathSeparator + aside;
    return report;
}

}  // namespace trevo

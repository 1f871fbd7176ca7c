#include "engine/inspect/LedgerCheck.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/inspect/EntryFields.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/LedgerEntryLayout.h"
#include "engine/ledger/Period.h"
#include "engine/ledger/PeriodFileReading.h"
#include "engine/ledger/PeriodFiles.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kPartRecord = "niepełny rekord na końcu pliku: %d bajtów"_w1250;
constexpr auto kUnreadable = "nie można odczytać pliku"_w1250;
constexpr auto kBadMonth = "miesiąc %d w nazwie pliku - program KPR go nie czyta"_w1250;
constexpr auto kNotDescribed = "pominięto dalszych problemów z rekordami: %d"_w1250;
constexpr auto kSeqNo = "seqNo %d zamiast %d"_w1250;
constexpr auto kOutsidePeriod = "entryDate %s poza okresem pliku %d-%d"_w1250;
constexpr auto kNoSuchDate = "%s %s - nie ma takiej daty"_w1250;
constexpr auto kReserved = "niezerowe bajty zarezerwowane %d-%d"_w1250;
constexpr auto kTooLong = "%s: długość %d ponad pojemność %d"_w1250;
constexpr auto kAfterText = "%s: niezerowe bajty za tekstem"_w1250;
constexpr auto kEntryKind = "entryKind %d spoza {2, 3}"_w1250;
constexpr auto kDocFlags = "docFlags %d spoza {1, 15, 129, 143}"_w1250;
constexpr auto kEntryMark = "entryMark %d zamiast 1"_w1250;
constexpr auto kRemark = "remark \"%s\" - dozwolony pusty albo \"!\""_w1250;
constexpr auto kNettoKpr = "nettoKpr %s przy entryKind 2 - powinno być 0"_w1250;

struct Range {
    std::size_t from;
    std::size_t to;  // exclusive
};

// Every byte range the layout leaves reserved.
constexpr Range kReservedRanges[] = {
    {4, 10}, {26, 32}, {210, 236}, {243, 245}, {246, 248}, {336, 367}, {377, 400},
};

// The problems of one file on their way out. A record problem beyond the limit is only counted,
// and its message never made: a damaged file of gigabytes has millions of them.
class FileProblems {
  public:
    FileProblems(const std::string& file, std::uint64_t limit,
                 const std::function<void(const LedgerProblem&)>& out)
        : file_(file), limit_(limit), out_(out) {}

    void OfFile(std::string message) { out_({file_, 0, std::move(message)}); }

    template <class Describe>
    void OfRecord(std::uint64_t slot, const Describe& describe) {
        if (++recordProblems_ <= limit_) {
            out_({file_, slot, describe()});
        }
    }

    // The count of the record problems left undescribed, if any.
    void Finish() {
        if (recordProblems_ > limit_) {
            OfFile(FormatMessage(kNotDescribed,
                                 {static_cast<std::int64_t>(recordProblems_ - limit_)}));
        }
    }

  private:
    const std::string& file_;
    std::uint64_t limit_;
    const std::function<void(const LedgerProblem&)>& out_;
    std::uint64_t recordProblems_ = 0;
};

std::string DateText(const RmdDate& date) {
    return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" +
           std::to_string(date.day);
}

// The checks that follow the field list: a text's length byte within its capacity and the room
// after the text zero, read from the bytes themselves (the decoder keeps at most the capacity);
// every date a calendar date, or zero where the date may be absent (all but entryDate).
class FieldCheck {
  public:
    FieldCheck(const LedgerRecordBytes& bytes, std::uint64_t slot, FileProblems& problems)
        : bytes_(bytes), slot_(slot), problems_(problems) {}

    template <std::size_t N>
    void operator()(const char* name, std::size_t offset, const ShortString<N>&) {
        const std::size_t length = bytes_[offset];
        if (length > N) {
            problems_.OfRecord(slot_, [&] {
                return FormatMessage(kTooLong, {name, static_cast<std::int64_t>(length),
                                                static_cast<std::int64_t>(N)});
            });
            return;
        }
        const auto after = bytes_.begin() + static_cast<std::ptrdiff_t>(offset + 1 + length);
        const auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(offset + 1 + N);
        if (std::any_of(after, end, [](std::uint8_t b) { return b != 0; })) {
            problems_.OfRecord(slot_, [&] { return FormatMessage(kAfterText, {name}); });
        }
    }
    void operator()(const char* name, std::size_t offset, const RmdDate& date) {
        const bool mayBeAbsent = offset != ledger_layout::kEntryDate;
        if (!IsCalendarDate(date) && !(mayBeAbsent && date == RmdDate{})) {
            problems_.OfRecord(slot_, [&] {
                return FormatMessage(kNoSuchDate, {name, DateText(date)});
            });
        }
    }
    template <class Other>
    void operator()(const char*, std::size_t, const Other&) {}

  private:
    const LedgerRecordBytes& bytes_;
    std::uint64_t slot_;
    FileProblems& problems_;
};

void CheckRecord(const LedgerRecordBytes& bytes, std::uint64_t slot, unsigned year, unsigned month,
                 FileProblems& problems) {
    const auto report = [&](const auto& describe) { problems.OfRecord(slot, describe); };
    const LedgerEntry entry = DecodeLedgerEntry(bytes);
    if (static_cast<std::int64_t>(entry.seqNo) != static_cast<std::int64_t>(slot)) {
        report([&] {
            return FormatMessage(kSeqNo, {entry.seqNo, static_cast<std::int64_t>(slot)});
        });
    }
    if (entry.entryDate.year != year || entry.entryDate.month != month) {
        report([&] {
            return FormatMessage(kOutsidePeriod, {DateText(entry.entryDate), year, month});
        });
    }
    for (const Range& range : kReservedRanges) {
        if (std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(range.from),
                        bytes.begin() + static_cast<std::ptrdiff_t>(range.to),
                        [](std::uint8_t b) { return b != 0; })) {
            report([&] {
                return FormatMessage(kReserved, {static_cast<std::int64_t>(range.from),
                                                 static_cast<std::int64_t>(range.to - 1)});
            });
        }
    }
    FieldCheck fields(bytes, slot, problems);
    ForEachLedgerField(entry, fields);
    if (entry.entryKind != 2 && entry.entryKind != 3) {
        report([&] { return FormatMessage(kEntryKind, {unsigned{entry.entryKind}}); });
    }
    if (entry.docFlags != 1 && entry.docFlags != 15 && entry.docFlags != 129 &&
        entry.docFlags != 143) {
        report([&] { return FormatMessage(kDocFlags, {unsigned{entry.docFlags}}); });
    }
    if (entry.entryMark != 1) {
        report([&] { return FormatMessage(kEntryMark, {unsigned{entry.entryMark}}); });
    }
    if (!entry.remark.Empty() && entry.remark.View() != "!") {
        report([&] { return FormatMessage(kRemark, {entry.remark.View()}); });
    }
    if (entry.entryKind == 2 && entry.nettoKpr != 0) {
        report([&] { return FormatMessage(kNettoKpr, {FormatAmount(entry.nettoKpr)}); });
    }
}

}  // namespace

std::optional<std::size_t> CheckLedgerDirectory(
    FileSystem& fileSystem, const std::string& ledgerDir, std::uint64_t recordProblemsPerFile,
    const std::function<void(const LedgerProblem&)>& problem) {
    const auto names = fileSystem.ListDirectory(ledgerDir);
    if (!names) {
        return std::nullopt;
    }
    std::vector<std::pair<Period, std::string>> files;
    for (const std::string& name : *names) {
        const auto period = ParsePeriodFileName(name);
        const std::string path = ledgerDir + kPathSeparator + name;
        if (period && fileSystem.FileExists(path)) {
            files.push_back({*period, path});
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const unsigned year = file.first.year;
        const unsigned month = file.first.month;
        const std::string& path = file.second;
        FileProblems problems(path, recordProblemsPerFile, problem);
        if (month < 1 || month > 12) {
            problems.OfFile(FormatMessage(kBadMonth, {month}));
        }
        const auto read = ReadPeriodFile(fileSystem, path,
                                         [&](std::uint64_t slot, const LedgerRecordBytes& bytes) {
                                             CheckRecord(bytes, slot, year, month, problems);
                                         });
        problems.Finish();
        if (!read) {
            problems.OfFile(std::string(kUnreadable));
        } else if (read->partBytes != 0) {
            problems.OfFile(
                FormatMessage(kPartRecord, {static_cast<std::int64_t>(read->partBytes)}));
        }
    }
    return files.size();
}

}  // namespace trevo

#include "engine/inspect/LedgerCheck.h"

#include <algorithm>
#include <utility>

#include "engine/inspect/EntryFields.h"
#include "engine/ledger/LedgerEntryLayout.h"
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
constexpr auto kSeqNo = "seqNo %d zamiast %d"_w1250;
constexpr auto kOutsidePeriod = "entryDate %s poza okresem pliku %d-%d"_w1250;
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

// A text's length byte within its capacity and the room after the text zero, read from the
// bytes themselves (the decoder keeps at most the capacity).
class TextRoomCheck {
  public:
    TextRoomCheck(const LedgerRecordBytes& bytes, std::uint64_t slot, const std::string& file,
                  std::vector<LedgerProblem>& problems)
        : bytes_(bytes), slot_(slot), file_(file), problems_(problems) {}

    template <std::size_t N>
    void operator()(const char* name, std::size_t offset, const ShortString<N>&) {
        const std::size_t length = bytes_[offset];
        if (length > N) {
            Report(FormatMessage(
                kTooLong, {name, static_cast<std::int64_t>(length), static_cast<std::int64_t>(N)}));
            return;
        }
        const auto after = bytes_.begin() + static_cast<std::ptrdiff_t>(offset + 1 + length);
        const auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(offset + 1 + N);
        if (std::any_of(after, end, [](std::uint8_t b) { return b != 0; })) {
            Report(FormatMessage(kAfterText, {name}));
        }
    }
    template <class Other>
    void operator()(const char*, std::size_t, const Other&) {}

  private:
    void Report(std::string message) { problems_.push_back({file_, slot_, std::move(message)}); }

    const LedgerRecordBytes& bytes_;
    std::uint64_t slot_;
    const std::string& file_;
    std::vector<LedgerProblem>& problems_;
};

std::string DateText(const RmdDate& date) {
    std::string text = std::to_string(date.year) + "-" + std::to_string(date.month) + "-" +
                       std::to_string(date.day);
    return text;
}

}  // namespace

void CheckRecord(const LedgerRecordBytes& bytes, std::uint64_t slot, unsigned year, unsigned month,
                 const std::string& file, std::vector<LedgerProblem>& problems) {
    const auto report = [&](std::string message) {
        problems.push_back({file, slot, std::move(message)});
    };
    const LedgerEntry entry = DecodeLedgerEntry(bytes);
    if (static_cast<std::int64_t>(entry.seqNo) != static_cast<std::int64_t>(slot)) {
        report(FormatMessage(kSeqNo, {entry.seqNo, static_cast<std::int64_t>(slot)}));
    }
    if (entry.entryDate.year != year || entry.entryDate.month != month) {
        report(FormatMessage(kOutsidePeriod, {DateText(entry.entryDate), year, month}));
    }
    for (const Range& range : kReservedRanges) {
        if (std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(range.from),
                        bytes.begin() + static_cast<std::ptrdiff_t>(range.to),
                        [](std::uint8_t b) { return b != 0; })) {
            report(FormatMessage(kReserved, {static_cast<std::int64_t>(range.from),
                                             static_cast<std::int64_t>(range.to - 1)}));
        }
    }
    TextRoomCheck textRoom(bytes, slot, file, problems);
    ForEachLedgerField(entry, textRoom);
    if (entry.entryKind != 2 && entry.entryKind != 3) {
        report(FormatMessage(kEntryKind, {unsigned{entry.entryKind}}));
    }
    if (entry.docFlags != 1 && entry.docFlags != 15 && entry.docFlags != 129 &&
        entry.docFlags != 143) {
        report(FormatMessage(kDocFlags, {unsigned{entry.docFlags}}));
    }
    if (entry.entryMark != 1) {
        report(FormatMessage(kEntryMark, {unsigned{entry.entryMark}}));
    }
    if (!entry.remark.Empty() && entry.remark.View() != "!") {
        report(FormatMessage(kRemark, {entry.remark.View()}));
    }
    if (entry.entryKind == 2 && entry.nettoKpr != 0) {
        report(FormatMessage(kNettoKpr, {FormatAmount(entry.nettoKpr)}));
    }
}

std::optional<std::vector<LedgerProblem>> CheckLedgerDirectory(FileSystem& fileSystem,
                                                               const std::string& ledgerDir,
                                                               std::size_t* filesChecked) {
    const auto names = fileSystem.ListDirectory(ledgerDir);
    if (!names) {
        return std::nullopt;
    }
    std::vector<std::pair<std::pair<unsigned, unsigned>, std::string>> files;
    for (const std::string& name : *names) {
        const auto period = ParsePeriodFileName(name);
        const std::string path = ledgerDir + kPathSeparator + name;
        if (period && fileSystem.FileExists(path)) {
            files.push_back({*period, path});
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<LedgerProblem> problems;
    for (const auto& file : files) {
        const unsigned year = file.first.first;
        const unsigned month = file.first.second;
        const std::string& path = file.second;
        if (month < 1 || month > 12) {
            problems.push_back({path, 0, FormatMessage(kBadMonth, {month})});
        }
        const auto read = ReadPeriodFile(fileSystem, path,
                                         [&](std::uint64_t slot, const LedgerRecordBytes& bytes) {
                                             CheckRecord(bytes, slot, year, month, path, problems);
                                         });
        if (!read) {
            problems.push_back({path, 0, std::string(kUnreadable)});
        } else if (read->partBytes != 0) {
            problems.push_back(
                {path, 0,
                 FormatMessage(kPartRecord, {static_cast<std::int64_t>(read->partBytes)})});
        }
    }
    if (filesChecked != nullptr) {
        *filesChecked = files.size();
    }
    return problems;
}

}  // namespace trevo

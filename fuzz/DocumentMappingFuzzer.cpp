// The mapping of an arbitrary 510-byte line in both ledger code pages: the encoded record keeps
// the values the ledger program accepts, and a rejected document reports exactly one line.
// Input: the line (cut to 510 bytes or padded with spaces), then optionally the attribute and
// register letters.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/exportfile/ExportLineReader.h"
#include "engine/ledger/LedgerEntry.h"
#include "engine/ledger/LedgerEntryLayout.h"
#include "engine/mapping/DocumentMapper.h"
#include "engine/platform/TraceSink.h"
#include "engine/text/Win1250Literal.h"
#include "fuzz/FuzzCheck.h"
#include "testing/ExportLineBuilder.h"
#include "testing/FakeClock.h"
#include "testing/MemoryTraceSink.h"

namespace trevo::fuzz {
namespace {

using namespace trevo::literals;
namespace at = ledger_layout;

struct Range {
    std::size_t from;
    std::size_t to;  // exclusive
};
constexpr std::array kReserved = {Range{4, 10},    Range{26, 32},   Range{210, 236},
                                  Range{243, 245}, Range{246, 248}, Range{336, 367},
                                  Range{377, 400}};

struct TextField {
    std::size_t offset;
    std::size_t capacity;
};
constexpr std::array kTexts = {TextField{at::kDocNumber, 22}, TextField{at::kNip, 18},
                               TextField{at::kFirmName, 36},  TextField{at::kStreet, 36},
                               TextField{at::kCity, 36},      TextField{at::kRemark, 20}};

constexpr std::array kAmounts = {at::kNetto1, at::kVat1,   at::kNetto3,     at::kVat3,
                                 at::kNetto4, at::kNetto7, at::kNetto5,     at::kVat5,
                                 at::kNetto2, at::kVat2,   at::kNettoOther, at::kNettoKpr};

bool IsTextByte(std::size_t offset) {
    return std::any_of(kTexts.begin(), kTexts.end(), [&](const TextField& t) {
        return offset > t.offset && offset <= t.offset + t.capacity;
    });
}

double DoubleAt(const LedgerRecordBytes& r, std::size_t offset) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = bits << 8 | r[offset + static_cast<std::size_t>(i)];
    }
    return std::bit_cast<double>(bits);
}

bool SameDate(const LedgerRecordBytes& r, std::size_t a, std::size_t b) {
    return std::equal(r.begin() + a, r.begin() + a + 4, r.begin() + b);
}

bool IsReaderMessage(const std::string& line) {
    return line == "Błąd określenia wartości INTEGER"_w1250 ||
           line == "Błąd określenia wartości DOUBLE"_w1250 ||
           line == "Błąd określenia ROKU"_w1250 || line == "Błąd określenia MIESIĄCA"_w1250 ||
           line == "Błąd określenia DNIA"_w1250;
}

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void CheckRecord(const LedgerRecordBytes& r, char attribute, char reg) {
    Require(r[0] == 0 && r[1] == 0 && r[2] == 0 && r[3] == 0, "seqNo set by the mapping");
    for (const Range& range : kReserved) {
        for (std::size_t i = range.from; i < range.to; ++i) {
            Require(r[i] == 0, "a reserved byte is not zero");
        }
    }
    for (const TextField& text : kTexts) {
        const std::size_t length = r[text.offset];
        Require(length <= text.capacity, "a short string longer than its capacity");
        for (std::size_t i = text.offset + 1 + length; i <= text.offset + text.capacity; ++i) {
            Require(r[i] == 0, "a byte after a short string's text is not zero");
        }
    }
    const auto kind = r[at::kEntryKind];
    const auto flags = r[at::kDocFlags];
    Require(kind == 2 || kind == 3, "entryKind outside {2, 3}");
    Require(flags == 1 || flags == 15 || flags == 129 || flags == 143,
            "docFlags outside {1, 15, 129, 143}");
    Require(r[at::kEntryMark] == 1, "entryMark is not 1");
    const bool remarkBang = r[at::kRemark] == 1 && r[at::kRemark + 1] == '!';
    if (kind == 2) {
        Require(DoubleAt(r, at::kNettoKpr) == 0 && !std::signbit(DoubleAt(r, at::kNettoKpr)),
                "nettoKpr is not 0 in an entry of kind 2");
        Require(r[at::kKprCode] == 0, "kprCode is not 0 in an entry of kind 2");
        Require(remarkBang, "an entry of kind 2 without the remark \"!\"");
    } else {
        Require(r[at::kRemark] == 0, "an entry of kind 3 with a remark");
        if (flags == 15 || flags == 143) {
            Require(r[at::kKprCode] == 10, "a document of type 1 without kprCode 10");
        }
    }
    Require(SameDate(r, at::kDocDate1, at::kEntryDate) &&
                SameDate(r, at::kDocDate2, at::kEntryDate) &&
                SameDate(r, at::kDocDate3, at::kEntryDate),
            "the four document dates differ");
    const unsigned month = r[at::kEntryDate + 1];
    const unsigned year = r[at::kEntryDate + 2] | r[at::kEntryDate + 3] << 8;
    Require(month >= 1 && month <= 12 && year != 0, "a booked entry names no month of a year");
    Require(r[at::kImportDate] == 8 && r[at::kImportDate + 1] == 12 &&
                r[at::kImportDate + 2] == (2026 & 0xFF) && r[at::kImportDate + 3] == 2026 >> 8,
            "importDate is not the clock's date");
    Require(r[at::kAttributeLetter] == static_cast<std::uint8_t>(attribute) &&
                r[at::kRegisterLetter] == static_cast<std::uint8_t>(reg),
            "the letters are not stamped as given");
    for (const std::size_t amount : kAmounts) {
        Require(std::isfinite(DoubleAt(r, amount)), "an amount that is not finite");
    }
}

// Every field filled to its width, amounts disagreeing: what a previous document may leave.
std::string DenseDocument() {
    namespace col = export_columns;
    testing::ExportLineBuilder line;
    line.Date("20240315")
        .Number(std::string(20, 'N'))
        .Company(std::string(70, 'C'))
        .Street(std::string(50, 'S'))
        .City(std::string(40, 'M'))
        .KprCode("77")
        .Marker("2")
        .Nip(std::string(13, '7'))
        .CountryPrefix("DE")
        .Type("1")
        .SecondDate("20240316");
    for (const auto columns :
         {col::kNettoKpr, col::kNetto1, col::kNetto2, col::kNetto3, col::kNetto4, col::kNetto5,
          col::kNetto7, col::kVat1, col::kVat2, col::kVat3, col::kVat5, col::kNettoOther}) {
        line.Amount(columns, "123.45");
    }
    return line.Line();
}

struct Mapped {
    bool accepted = false;
    LedgerRecordBytes record{};
    std::vector<std::string> trace;
};

Mapped Map(std::string_view line, PolishCharset code, char attribute, char reg) {
    const testing::FakeClock clock;
    const CurrencyFormat money = CurrencyFormat::Polish();
    testing::MemoryTraceSink trace;
    DocumentMapper mapper({code, attribute, reg}, trace, clock, money);
    LedgerEntry entry;
    // A full document first: nothing of it may survive into the next one.
    static const std::string dense = DenseDocument();
    mapper.MapDocument(dense, entry);
    trace.Clear();
    Mapped result;
    result.accepted = mapper.MapDocument(line, entry);
    EncodeLedgerEntry(entry, result.record);
    result.trace = trace.Lines();

    const auto& lines = result.trace;
    if (result.accepted) {
        CheckRecord(result.record, attribute, reg);
        // Reader messages, the two document lines, and the disagreement line when it applies.
        const bool disagree = result.record[at::kEntryKind] == 2;
        const std::size_t tail = disagree ? 3 : 2;
        Require(lines.size() >= tail, "an accepted document without its lines");
        const std::size_t first = lines.size() - tail;
        for (std::size_t i = 0; i < first; ++i) {
            Require(IsReaderMessage(lines[i]), "an unexpected line before the document lines");
        }
        Require(StartsWith(lines[first], "* Dokument nr:"), "no document line");
        Require(StartsWith(lines[first + 1], " z dnia "_w1250), "no amounts line");
        if (disagree) {
            Require(lines.back() == " ! Netto_KPR <> Suma(Netto) ustawiam - nie KPR ",
                    "no disagreement line");
        }
    } else {
        Require(!lines.empty(), "a rejected document reported nothing");
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            Require(IsReaderMessage(lines[i]), "a rejected document wrote more than one line");
        }
        const std::string& last = lines.back();
        Require(StartsWith(last, "* Dokument nr \"") &&
                    (last.find("\" - błędny TYP(8)="_w1250) != std::string::npos ||
                     last.find("\" - błędna data "_w1250) != std::string::npos),
                "a rejected document without its rejection line");
    }
    return result;
}

}  // namespace
}  // namespace trevo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trevo;
    std::string line(reinterpret_cast<const char*>(data), std::min(size, kExportLineLength));
    line.resize(kExportLineLength, ' ');
    const char attribute = size > kExportLineLength ? static_cast<char>(data[510]) : 0;
    const char reg = size > kExportLineLength + 1 ? static_cast<char>(data[511]) : 0;

    const auto mazovia = fuzz::Map(line, PolishCharset::pcMazovia, attribute, reg);
    const auto cp852 = fuzz::Map(line, PolishCharset::pcCp852, attribute, reg);
    fuzz::Require(mazovia.accepted == cp852.accepted, "the code page changed the decision");
    fuzz::Require(mazovia.trace.size() == cp852.trace.size(), "the code page changed the trace");
    if (mazovia.accepted) {
        // Letters are transcoded in place: only the characters of the texts may differ.
        for (std::size_t i = 0; i < LedgerEntry::kSize; ++i) {
            fuzz::Require(fuzz::IsTextByte(i) || mazovia.record[i] == cp852.record[i],
                          "the code page changed a byte outside the texts");
        }
    }
    return 0;
}

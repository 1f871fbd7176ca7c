#include "engine/mapping/DocumentMapper.h"

#include <cmath>
#include <limits>

#include "engine/exportfile/ExportColumns.h"
#include "engine/exportfile/FieldReaders.h"
#include "engine/platform/Clock.h"
#include "engine/platform/TraceSink.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kBadType = "* Dokument nr \"%s\" - błędny TYP(8)=%d"_w1250;
constexpr auto kBadDate = "* Dokument nr \"%s\" - błędna data %d-%d-%d"_w1250;
constexpr auto kDocumentLine = "* Dokument nr:%s  | Firma:%s  | NIP:%s"_w1250;
constexpr auto kAmountsLine = " z dnia %d-%d-%d na kwotę netto:%m vat:%m"_w1250;
constexpr auto kAmountsDisagree = " ! Netto_KPR <> Suma(Netto) ustawiam - nie KPR "_w1250;

constexpr std::uint8_t kKindBooked = 3;
constexpr std::uint8_t kKindNotKpr = 2;
constexpr std::uint8_t kFlagsType0 = 1;
constexpr std::uint8_t kFlagsType1 = 15;
constexpr std::uint8_t kFlagMarker = 128;
constexpr std::uint8_t kKprCodeType1 = 10;
constexpr std::uint16_t kLastYear = 9999;

// The binary64 value 0.01 lies just above one hundredth; the limit is the value nearest to it
// with a 64-bit mantissa, just below, so a difference of exactly 0.01 disagrees.
constexpr long double kAgreementLimit = 0.01L;
static_assert(std::numeric_limits<long double>::digits >= 64,
              "the amount check needs a 64-bit mantissa");

// A stored text in the trace's Windows-1250, converted back from the ledger's code page: what
// the ledger program will show, cut to its room included.
std::string_view ShownText(std::string_view stored, PolishCharset ledgerCode, std::string& out) {
    ConvertPolishLetters(stored, ledgerCode, PolishCharset::pcWin1250, out);
    return out;
}

}  // namespace

bool AmountsAgree(double nettoKpr, double nettoSum, double nettoOther) {
    const long double total = static_cast<long double>(nettoSum) + nettoOther;
    return std::fabs(static_cast<long double>(nettoKpr) - total) < kAgreementLimit;
}

bool DocumentMapper::MapDocument(std::string_view line, LedgerEntry& entry, DocumentFacts* facts) {
    namespace col = export_columns;
    if (facts != nullptr) {
        facts->Clear();
    }
    const FieldReaders read(line, options_.ledgerCode, trace_,
                            facts != nullptr ? &facts->unreadable : nullptr);

    entry.Clear();
    entry.entryKind = kKindBooked;
    entry.attributeLetter = options_.attributeLetter;
    entry.registerLetter = options_.registerLetter;
    entry.entryMark = 1;

    const RmdDate date = read.ReadDate(col::kDocumentDate);
    entry.entryDate = date;
    entry.docDate1 = date;
    entry.docDate2 = date;
    entry.docDate3 = date;
    entry.importDate = DateToRmdDate(clock_.Now());

    // Texts go through one buffer kept from document to document.
    std::string& text = textBuffer_;
    entry.docNumber.Assign(read.ReadTextPL(col::kDocumentNumber, text));
    entry.nip.Assign(read.ReadTextPL(col::kNip, text));
    if (read.ReadTextPL(col::kCountryPrefix, text) != "PL") {
        if (facts != nullptr) {
            facts->foreignPrefix = !text.empty();
        }
        text += entry.nip.View();
        entry.nip.Assign(text);
    }
    // The name is trimmed once: the trace line shows it as read, the entry in the ledger's code.
    const std::string_view companyName = read.ReadText(col::kCompanyName);
    FromWin1250(companyName, options_.ledgerCode, text);
    entry.firmName.Assign(text);
    read.ReadTextPL(col::kStreet, text);
    StripStreetPrefixInPlace(text);
    entry.street.Assign(text);
    entry.city.Assign(read.ReadTextPL(col::kCity, text));

    entry.kprCode = read.ReadByte(col::kKprCode);

    const std::int32_t type = read.ReadInteger(col::kDocumentType);
    if (type == 0) {
        entry.docFlags = kFlagsType0;
    } else if (type == 1) {
        entry.docFlags = kFlagsType1;
        entry.kprCode = kKprCodeType1;
    } else {
        trace_.AppendLine(FormatMessage(
            kBadType,
            {ShownText(entry.docNumber.View(), options_.ledgerCode, shownNumber_), type}));
        if (facts != nullptr) {
            facts->rejection = DocumentFacts::Rejection::BadType;
            facts->type = type;
        }
        return false;
    }
    // A document without a month of a year would land in a file the ledger never reads. A year
    // beyond 9999 comes from a negative year column ("-001" is stored as 65535).
    if (date.month < 1 || date.month > 12 || date.year == 0 || date.year > kLastYear) {
        trace_.AppendLine(FormatMessage(
            kBadDate, {ShownText(entry.docNumber.View(), options_.ledgerCode, shownNumber_),
                       unsigned{date.day}, unsigned{date.month}, unsigned{date.year}}));
        if (facts != nullptr) {
            facts->rejection = DocumentFacts::Rejection::BadDate;
        }
        return false;
    }
    if (read.ReadInteger(col::kMarker) == 2) {
        entry.docFlags |= kFlagMarker;
    }
    entry.auxDate = read.ReadDate(col::kSecondDate);

    const double nettoKpr = read.ReadDouble(col::kNettoKpr);
    entry.netto1 = read.ReadDouble(col::kNetto1);
    entry.vat1 = read.ReadDouble(col::kVat1);
    entry.netto3 = read.ReadDouble(col::kNetto3);
    entry.vat3 = read.ReadDouble(col::kVat3);
    entry.netto4 = read.ReadDouble(col::kNetto4);
    entry.netto5 = read.ReadDouble(col::kNetto5);
    entry.vat5 = read.ReadDouble(col::kVat5);
    entry.netto2 = read.ReadDouble(col::kNetto2);
    entry.vat2 = read.ReadDouble(col::kVat2);
    entry.netto7 = read.ReadDouble(col::kNetto7);
    entry.nettoOther = read.ReadDouble(col::kNettoOther);

    double nettoSum = entry.netto1;
    nettoSum += entry.netto3;
    nettoSum += entry.netto4;
    nettoSum += entry.netto2;
    nettoSum += entry.netto5;
    nettoSum += entry.netto7;
    double vatSum = entry.vat1;
    vatSum += entry.vat3;
    vatSum += entry.vat2;
    vatSum += entry.vat5;

    lineBuffer_.clear();
    AppendMessage(lineBuffer_, kDocumentLine,
                  {ShownText(entry.docNumber.View(), options_.ledgerCode, shownNumber_),
                   companyName, ShownText(entry.nip.View(), options_.ledgerCode, shownNip_)});
    trace_.AppendLine(lineBuffer_);
    lineBuffer_.clear();
    AppendMessage(lineBuffer_, kAmountsLine,
                  {unsigned{date.day}, unsigned{date.month}, unsigned{date.year}, nettoSum, vatSum},
                  &money_);
    trace_.AppendLine(lineBuffer_);

    if (facts != nullptr) {
        facts->nettoSum = nettoSum;
        facts->vatSum = vatSum;
    }
    if (AmountsAgree(nettoKpr, nettoSum, entry.nettoOther)) {
        entry.nettoKpr = nettoKpr;
    } else {
        trace_.AppendLine(kAmountsDisagree);
        entry.kprCode = 0;
        entry.entryKind = kKindNotKpr;
        entry.remark.Assign("!");
    }
    return true;
}

}  // namespace trevo

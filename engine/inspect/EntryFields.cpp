#include "engine/inspect/EntryFields.h"

#include <charconv>
#include <cstdio>

namespace trevo {

std::string FormatRmdDate(const RmdDate& date) {
    if (date == RmdDate{}) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned{date.year}, unsigned{date.month},
                  unsigned{date.day});
    return text;
}

std::string FormatAmount(double value) {
    char text[64];
    const auto printed = std::to_chars(text, text + sizeof text, value);
    return {text, printed.ptr};
}

std::vector<EntryField> EntryFields(const LedgerEntry& e, PolishCharset ledgerCode) {
    using Kind = EntryField::Kind;
    const auto integer = [](const char* name, long long value) {
        return EntryField{name, Kind::Integer, std::to_string(value)};
    };
    const auto date = [](const char* name, const RmdDate& value) {
        return EntryField{name, Kind::Text, FormatRmdDate(value)};
    };
    const auto text = [ledgerCode](const char* name, std::string_view value) {
        return EntryField{name, Kind::Text, ToWin1250(value, ledgerCode)};
    };
    const auto letter = [](const char* name, char value) {
        return EntryField{name, Kind::Text, value == 0 ? std::string() : std::string(1, value)};
    };
    const auto amount = [](const char* name, double value) {
        return EntryField{name, Kind::Amount, FormatAmount(value)};
    };
    return {
        integer("seqNo", e.seqNo),
        date("docDate1", e.docDate1),
        date("docDate2", e.docDate2),
        date("entryDate", e.entryDate),
        date("docDate3", e.docDate3),
        text("docNumber", e.docNumber.View()),
        text("nip", e.nip.View()),
        text("firmName", e.firmName.View()),
        text("street", e.street.View()),
        text("city", e.city.View()),
        text("remark", e.remark.View()),
        date("auxDate", e.auxDate),
        letter("attributeLetter", e.attributeLetter),
        integer("entryKind", e.entryKind),
        date("importDate", e.importDate),
        integer("docFlags", e.docFlags),
        letter("registerLetter", e.registerLetter),
        amount("netto1", e.netto1),
        amount("vat1", e.vat1),
        amount("netto3", e.netto3),
        amount("vat3", e.vat3),
        amount("netto4", e.netto4),
        amount("netto7", e.netto7),
        amount("netto5", e.netto5),
        amount("vat5", e.vat5),
        amount("netto2", e.netto2),
        amount("vat2", e.vat2),
        amount("nettoOther", e.nettoOther),
        integer("entryMark", e.entryMark),
        integer("kprCode", e.kprCode),
        amount("nettoKpr", e.nettoKpr),
    };
}

std::vector<const char*> EntryFieldNames() {
    std::vector<const char*> names;
    for (const EntryField& field : EntryFields(LedgerEntry{}, PolishCharset::pcMazovia)) {
        names.push_back(field.name);
    }
    return names;
}

}  // namespace trevo

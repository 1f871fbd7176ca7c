#pragma once
// A ledger entry as named values, in record order, for printing a ledger back: dates as
// YYYY-MM-DD (empty for the zero date), texts and letters in Windows-1250, amounts in the
// shortest decimal form that reads back to the same binary64.

#include <string>
#include <vector>

#include "engine/ledger/LedgerEntry.h"
#include "engine/text/zdTransPL.h"

namespace trevo {

struct EntryField {
    enum class Kind : std::uint8_t { Integer, Amount, Text };
    const char* name;  // as in the record layout: "seqNo", "docDate1", ... "nettoKpr"
    Kind kind;
    std::string value;  // Windows-1250 for texts; ASCII otherwise
};

// Texts are converted from the ledger code page `ledgerCode`.
std::vector<EntryField> EntryFields(const LedgerEntry& entry, PolishCharset ledgerCode);

// The names alone, in the same order.
std::vector<const char*> EntryFieldNames();

std::string FormatRmdDate(const RmdDate& date);
std::string FormatAmount(double value);

}  // namespace trevo

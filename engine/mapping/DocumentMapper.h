#pragma once
// Turns one 510-byte document line into one ledger entry, with the document's trace lines,
// and decides whether the entry is booked.

#include <string>
#include <string_view>

#include "engine/ledger/LedgerEntry.h"
#include "engine/mapping/DocumentFacts.h"
#include "engine/text/CurrencyFormat.h"
#include "engine/text/zdTransPL.h"

namespace trevo {

class Clock;
class TraceSink;

struct MappingOptions {
    PolishCharset ledgerCode = PolishCharset::pcMazovia;
    char attributeLetter = 0;  // Windows-1250 byte stamped into every entry; 0 for none
    char registerLetter = 0;
};

class DocumentMapper {
  public:
    DocumentMapper(MappingOptions options, TraceSink& trace, const Clock& clock,
                   const CurrencyFormat& money)
        : options_(options), trace_(trace), clock_(clock), money_(money) {}

    // Clears `entry` and fills every byte of it but seqNo. False when the document is rejected:
    // a document type other than 0 and 1, or a date that names no month of a year.
    // `facts`, when given, is cleared and filled too.
    bool MapDocument(std::string_view line, LedgerEntry& entry, DocumentFacts* facts = nullptr);

  private:
    MappingOptions options_;
    TraceSink& trace_;
    const Clock& clock_;
    const CurrencyFormat& money_;
    std::string lineBuffer_;
    std::string textBuffer_;
    // The stored document number and NIP as the trace shows them (see ShownText).
    std::string shownNumber_;
    std::string shownNip_;
};

// True when the Netto_KPR amount agrees with the netto amounts: the difference, evaluated in
// extended precision, is below the 64-bit-mantissa value nearest to 0.01.
bool AmountsAgree(double nettoKpr, double nettoSum, double nettoOther);

}  // namespace trevo

#pragma once
// One booked document: the ledger program's 400-byte entry record, field by field.
// EncodeLedgerEntry lays it out byte for byte.

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/ledger/ShortString.h"
#include "engine/ledger/zdRMD.h"

namespace trevo {

struct LedgerEntry {
    static constexpr std::size_t kSize = 400;

    std::int32_t seqNo = 0;  // 1-based position in its period file, set when appended
    RmdDate docDate1;
    RmdDate docDate2;
    RmdDate entryDate;  // selects the period file
    RmdDate docDate3;
    ShortString<22> docNumber;
    ShortString<18> nip;
    ShortString<36> firmName;
    ShortString<36> street;
    ShortString<36> city;
    ShortString<20> remark;
    RmdDate auxDate;
    char attributeLetter = 0;
    std::uint8_t entryKind = 0;
    RmdDate importDate;
    std::uint8_t docFlags = 0;
    char registerLetter = 0;
    double netto1 = 0;
    double vat1 = 0;
    double netto3 = 0;
    double vat3 = 0;
    double netto4 = 0;
    double netto7 = 0;
    double netto5 = 0;
    double vat5 = 0;
    double netto2 = 0;
    double vat2 = 0;
    double nettoOther = 0;
    std::uint8_t entryMark = 0;
    std::uint8_t kprCode = 0;
    double nettoKpr = 0;

    void Clear() { *this = LedgerEntry{}; }
};

using LedgerRecordBytes = std::array<std::uint8_t, LedgerEntry::kSize>;

// The record as the ledger program reads it: packed, little-endian, reserved bytes zero.
void EncodeLedgerEntry(const LedgerEntry& entry, LedgerRecordBytes& out);

// Every field of a record read back; texts stay in the ledger's code page, whichever it is. A
// length byte beyond a text's capacity keeps the capacity (the record inspector reports it).
LedgerEntry DecodeLedgerEntry(const LedgerRecordBytes& bytes);

}  // namespace trevo

#pragma once
// Byte offsets of the fields of the 400-byte ledger entry record, and which field of the entry
// sits at each. Every range not named here is reserved and written as zero.

#include <cstddef>

#include "engine/ledger/LedgerEntry.h"

namespace trevo::ledger_layout {

inline constexpr std::size_t kSeqNo = 0;       // int32
inline constexpr std::size_t kDocDate1 = 10;   // RmdDate
inline constexpr std::size_t kDocDate2 = 14;   // RmdDate
inline constexpr std::size_t kEntryDate = 18;  // RmdDate
inline constexpr std::size_t kDocDate3 = 22;   // RmdDate
inline constexpr std::size_t kDocNumber = 32;  // short string, capacity 22
inline constexpr std::size_t kNip = 55;        // short string, capacity 18
inline constexpr std::size_t kFirmName = 74;   // short string, capacity 36
inline constexpr std::size_t kStreet = 111;    // short string, capacity 36
inline constexpr std::size_t kCity = 148;      // short string, capacity 36
inline constexpr std::size_t kRemark = 185;    // short string, capacity 20
inline constexpr std::size_t kAuxDate = 206;   // RmdDate
inline constexpr std::size_t kAttributeLetter = 236;
inline constexpr std::size_t kEntryKind = 237;
inline constexpr std::size_t kImportDate = 238;  // RmdDate
inline constexpr std::size_t kDocFlags = 242;
inline constexpr std::size_t kRegisterLetter = 245;
inline constexpr std::size_t kNetto1 = 248;  // binary64 from here on
inline constexpr std::size_t kVat1 = 256;
inline constexpr std::size_t kNetto3 = 264;
inline constexpr std::size_t kVat3 = 272;
inline constexpr std::size_t kNetto4 = 280;
inline constexpr std::size_t kNetto7 = 288;
inline constexpr std::size_t kNetto5 = 296;
inline constexpr std::size_t kVat5 = 304;
inline constexpr std::size_t kNetto2 = 312;
inline constexpr std::size_t kVat2 = 320;
inline constexpr std::size_t kNettoOther = 328;
inline constexpr std::size_t kEntryMark = 367;
inline constexpr std::size_t kKprCode = 368;
inline constexpr std::size_t kNettoKpr = 369;  // unaligned

}  // namespace trevo::ledger_layout

namespace trevo::ledger_layout {

// Each field follows the previous one with no padding.
static_assert(kDocNumber + 1 + 22 == kNip);
static_assert(kNip + 1 + 18 == kFirmName);
static_assert(kFirmName + 1 + 36 == kStreet);
static_assert(kStreet + 1 + 36 == kCity);
static_assert(kCity + 1 + 36 == kRemark);
static_assert(kRemark + 1 + 20 == kAuxDate);
static_assert(kNettoOther + 8 + 31 == kEntryMark);
static_assert(kNettoKpr + 8 + 23 == 400);

}  // namespace trevo::ledger_layout

namespace trevo {

// Every field of the entry with its name and offset, in record order: the one list that
// encoding, decoding and reading a ledger back follow. `field` is called as
// field(name, offset, member); `Entry` is LedgerEntry or const LedgerEntry.
template <class Entry, class Field>
void ForEachLedgerField(Entry& e, Field& field) {
    namespace at = ledger_layout;
    field("seqNo", at::kSeqNo, e.seqNo);
    field("docDate1", at::kDocDate1, e.docDate1);
    field("docDate2", at::kDocDate2, e.docDate2);
    field("entryDate", at::kEntryDate, e.entryDate);
    field("docDate3", at::kDocDate3, e.docDate3);
    field("docNumber", at::kDocNumber, e.docNumber);
    field("nip", at::kNip, e.nip);
    field("firmName", at::kFirmName, e.firmName);
    field("street", at::kStreet, e.street);
    field("city", at::kCity, e.city);
    field("remark", at::kRemark, e.remark);
    field("auxDate", at::kAuxDate, e.auxDate);
    field("attributeLetter", at::kAttributeLetter, e.attributeLetter);
    field("entryKind", at::kEntryKind, e.entryKind);
    field("importDate", at::kImportDate, e.importDate);
    field("docFlags", at::kDocFlags, e.docFlags);
    field("registerLetter", at::kRegisterLetter, e.registerLetter);
    field("netto1", at::kNetto1, e.netto1);
    field("vat1", at::kVat1, e.vat1);
    field("netto3", at::kNetto3, e.netto3);
    field("vat3", at::kVat3, e.vat3);
    field("netto4", at::kNetto4, e.netto4);
    field("netto7", at::kNetto7, e.netto7);
    field("netto5", at::kNetto5, e.netto5);
    field("vat5", at::kVat5, e.vat5);
    field("netto2", at::kNetto2, e.netto2);
    field("vat2", at::kVat2, e.vat2);
    field("nettoOther", at::kNettoOther, e.nettoOther);
    field("entryMark", at::kEntryMark, e.entryMark);
    field("kprCode", at::kKprCode, e.kprCode);
    field("nettoKpr", at::kNettoKpr, e.nettoKpr);
}

}  // namespace trevo

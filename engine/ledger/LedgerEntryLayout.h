#pragma once
// Byte offsets of the fields of the 400-byte ledger entry record. Every range not named here
// is reserved and written as zero.

#include <cstddef>

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

#pragma once
// Byte offsets of the 103-byte record of the ledger program's company list "spisfirm.dat".
// Each text is a short string: a length byte, then its room of characters.

#include <cstddef>

namespace trevo::company_layout {

inline constexpr std::size_t kRecordSize = 103;

inline constexpr std::size_t kCompanyName = 0;  // short string, room 31
inline constexpr std::size_t kCompanyNameRoom = 31;
inline constexpr std::size_t kCompanyDir = 32;  // short string, room 8
inline constexpr std::size_t kCompanyDirRoom = 8;
inline constexpr std::size_t kCompanyInfo = 41;  // short string, up to the end of the record
inline constexpr std::size_t kCompanyInfoRoom = 61;

// Each field follows the previous one with no padding; the info text ends the record.
static_assert(kCompanyName + 1 + kCompanyNameRoom == kCompanyDir);
static_assert(kCompanyDir + 1 + kCompanyDirRoom == kCompanyInfo);
static_assert(kCompanyInfo + 1 + kCompanyInfoRoom == kRecordSize);

}  // namespace trevo::company_layout

#pragma once
// Deterministic synthetic export files: varied documents with Polish letters, street prefixes,
// several months, and now and then a document the converter must reject or mark.

#include <cstddef>
#include <string>

namespace trevo::testing {

struct SyntheticExportOptions {
    std::size_t documents = 100'000;
    int year = 2024;
    int firstMonth = 1;
    int months = 2;  // documents are spread evenly over this many months, in date order
};

// Of every fifty documents, the one at position 17 has document type 2 (rejected), the one at
// 23 has a Netto_KPR amount that disagrees with its netto amounts, the one at 31 has the NIP
// prefix "DE", and the one at 41 a NIP whose check digit is wrong. Every other NIP is valid.
inline constexpr std::size_t kRejectedTypeAt = 17;
inline constexpr std::size_t kDisagreeingAt = 23;
inline constexpr std::size_t kForeignPrefixAt = 31;
inline constexpr std::size_t kBadNipAt = 41;
inline constexpr std::size_t kPatternLength = 50;

// Document `index` (from 0) as a 510-byte Windows-1250 line without its terminator.
std::string SyntheticDocumentLine(std::size_t index, const SyntheticExportOptions& options);

// Writes the whole export with CR LF line ends; false when the file cannot be written.
bool WriteSyntheticExport(const std::string& path, const SyntheticExportOptions& options);

}  // namespace trevo::testing

#pragma once
// The rows of the company picker: each company cut to the picker's column widths, the order
// by name and the rule that picks the row of the current company's directory. The command
// line lists the companies by the same rules.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "companies/CompanyList.h"
#include "engine/platform/StringCollation.h"

namespace trevo {

// Column widths in characters (Windows-1250 bytes).
inline constexpr std::size_t kFirmaWidth = 31;
inline constexpr std::size_t kKatalogWidth = 8;
inline constexpr std::size_t kInfoWidth = 10;

struct CompanyRow {
    std::string firma;      // companyName, Windows-1250
    std::string katalog;    // companyDir, byte for byte
    std::string info;       // companyInfo, Windows-1250, cut to kInfoWidth
    std::string wholeInfo;  // companyInfo uncut, for a reader who wants the rest

    friend bool operator==(const CompanyRow&, const CompanyRow&) = default;
};

// The row of one company: every value keeps the first characters up to its column's width;
// wholeInfo keeps the info text whole.
CompanyRow MakeCompanyRow(const CompanyRecord& record);

// Sorts the rows ascending by Firma under the collation; rows with equal names keep their
// order. Returns where the row that was at `current` now stands.
std::optional<std::size_t> SortRowsByFirma(std::vector<CompanyRow>& rows,
                                           std::optional<std::size_t> current,
                                           const StringCollation& collation);

// The row to make current for the directory `katalog`, compared whole under the collation:
// `current` itself when it matches, else the first matching row from the top, else `current`
// unchanged (also when there are no rows).
std::optional<std::size_t> SelectKatalogRow(const std::vector<CompanyRow>& rows,
                                            std::optional<std::size_t> current,
                                            std::string_view katalog,
                                            const StringCollation& collation);

}  // namespace trevo

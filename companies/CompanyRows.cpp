#include "companies/CompanyRows.h"

#include <algorithm>
#include <numeric>

namespace trevo {

namespace {

std::string Cut(const std::string& text, std::size_t width) {
    return text.substr(0, std::min(text.size(), width));
}

}  // namespace

CompanyRow MakeCompanyRow(const CompanyRecord& record) {
    return {Cut(record.companyName, kFirmaWidth), Cut(record.companyDir, kKatalogWidth),
            Cut(record.companyInfo, kInfoWidth), record.companyInfo};
}

std::optional<std::size_t> SortRowsByFirma(std::vector<CompanyRow>& rows,
                                           std::optional<std::size_t> current,
                                           const StringCollation& collation) {
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return collation.Compare(rows[a].firma, rows[b].firma) < 0;
    });
    std::vector<CompanyRow> sorted;
    sorted.reserve(rows.size());
    std::optional<std::size_t> moved;
    for (std::size_t position = 0; position < order.size(); ++position) {
        if (current && order[position] == *current) {
            moved = position;
        }
        sorted.push_back(std::move(rows[order[position]]));
    }
    rows = std::move(sorted);
    return moved;
}

std::optional<std::size_t> SelectKatalogRow(const std::vector<CompanyRow>& rows,
                                            std::optional<std::size_t> current,
                                            std::string_view katalog,
                                            const StringCollation& collation) {
    const auto matches = [&](std::size_t row) {
        return collation.Compare(rows[row].katalog, katalog) == 0;
    };
    if (current && *current < rows.size() && matches(*current)) {
        return current;
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (matches(row)) {
            return row;
        }
    }
    return current;
}

}  // namespace trevo

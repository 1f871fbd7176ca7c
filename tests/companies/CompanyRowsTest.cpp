#include <gtest/gtest.h>

#include <cctype>

#include "companies/CompanyRows.h"

namespace trevo {
namespace {

// Compares bytes without regard to ASCII letter case, so that a test can tell the collation's
// equality from byte equality.
class CaseBlindCollation final : public StringCollation {
  public:
    int Compare(std::string_view a, std::string_view b) const override {
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
            const int x = std::tolower(static_cast<unsigned char>(a[i]));
            const int y = std::tolower(static_cast<unsigned char>(b[i]));
            if (x != y) {
                return x < y ? -1 : 1;
            }
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
};

std::vector<CompanyRow> Rows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    std::vector<CompanyRow> result;
    for (const auto& [firma, katalog] : rows) {
        result.push_back({firma, katalog, "", ""});
    }
    return result;
}

std::vector<std::string> Katalogs(const std::vector<CompanyRow>& rows) {
    std::vector<std::string> result;
    for (const CompanyRow& row : rows) {
        result.push_back(row.katalog);
    }
    return result;
}

TEST(CompanyRows, ValuesAreCutToTheColumnWidths) {
    const CompanyRecord record{std::string(31, 'N'), "KATALOG1", std::string(61, 'I')};
    EXPECT_EQ(MakeCompanyRow(record), (CompanyRow{std::string(31, 'N'), "KATALOG1",
                                                  std::string(10, 'I'), std::string(61, 'I')}));
    EXPECT_EQ(MakeCompanyRow({"a", "b", "c"}), (CompanyRow{"a", "b", "c", "c"}));
}

TEST(CompanyRows, SortIsStableAndTheCurrentRowFollows) {
    const CaseBlindCollation collation;
    auto rows = Rows({{"beta", "1"}, {"Alfa", "2"}, {"BETA", "3"}, {"alfa", "4"}, {"Gamma", "5"}});
    EXPECT_EQ(SortRowsByFirma(rows, 3, collation), 1u);
    EXPECT_EQ(Katalogs(rows), (std::vector<std::string>{"2", "4", "1", "3", "5"}));

    auto none = Rows({{"b", "1"}, {"a", "2"}});
    EXPECT_EQ(SortRowsByFirma(none, std::nullopt, collation), std::nullopt);
    std::vector<CompanyRow> empty;
    EXPECT_EQ(SortRowsByFirma(empty, std::nullopt, collation), std::nullopt);
}

TEST(CompanyRows, TheCurrentRowIsTestedFirstThenFromTheTop) {
    const CaseBlindCollation collation;
    const auto rows = Rows({{"a", "FIRMA2"}, {"b", "FIRMA1"}, {"c", "OTHER"}, {"d", "firma1"}});
    // The current row matches: it stays, though an earlier row matches too.
    EXPECT_EQ(SelectKatalogRow(rows, 3, "FIRMA1", collation), 3u);
    // Otherwise the first match from the top, equal under the collation.
    EXPECT_EQ(SelectKatalogRow(rows, 2, "Firma1", collation), 1u);
    EXPECT_EQ(SelectKatalogRow(rows, std::nullopt, "FIRMA2", collation), 0u);
    // Only whole values match; without a match the current row stays.
    EXPECT_EQ(SelectKatalogRow(rows, 2, "FIRMA", collation), 2u);
    EXPECT_EQ(SelectKatalogRow(rows, 2, "", collation), 2u);
    EXPECT_EQ(SelectKatalogRow({}, std::nullopt, "FIRMA1", collation), std::nullopt);
}

}  // namespace
}  // namespace trevo

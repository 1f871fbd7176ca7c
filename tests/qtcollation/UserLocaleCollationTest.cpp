#include <gtest/gtest.h>

#include <QLocale>
#include <algorithm>
#include <vector>

#include "ExportLineBuilder.h"
#include "UserLocaleCollation.h"

namespace trevo::qt {
namespace {

using testing::Win1250;

class UserLocaleCollationTest : public ::testing::Test {
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QStringLiteral("pl_PL"))); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(UserLocaleCollationTest, PolishNamesSortThePolishWay) {
    const UserLocaleCollation collation;
    std::vector<std::string> names = {Win1250("Łódź"),   Win1250("Ćma"),   Win1250("Lublin"),
                                      Win1250("Czarny"), Win1250("Żuraw"), Win1250("Zebra"),
                                      Win1250("Ala")};
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return collation.Compare(a, b) < 0;
    });
    EXPECT_EQ(names, (std::vector<std::string>{Win1250("Ala"), Win1250("Czarny"), Win1250("Ćma"),
                                               Win1250("Lublin"), Win1250("Łódź"), Win1250("Zebra"),
                                               Win1250("Żuraw")}));
}

TEST_F(UserLocaleCollationTest, CaseCountsAndOnlyEqualTextsCompareEqual) {
    const UserLocaleCollation collation;
    EXPECT_EQ(collation.Compare("FIRMA1", "FIRMA1"), 0);
    EXPECT_NE(collation.Compare("firma1", "FIRMA1"), 0);
    EXPECT_NE(collation.Compare("FIRMA", "FIRMA1"), 0);
    EXPECT_LT(collation.Compare("", "A"), 0);
}

TEST_F(UserLocaleCollationTest, TheLocaleIsTakenWhenTheCollationIsMade) {
    QLocale::setDefault(QLocale::c());
    const UserLocaleCollation plain;
    QLocale::setDefault(QLocale(QStringLiteral("pl_PL")));
    const UserLocaleCollation polish;
    // Ć stands between C and D in Polish; by code point it comes after every Latin letter.
    EXPECT_LT(polish.Compare(Win1250("Ćma"), "Dom"), 0);
    EXPECT_GT(plain.Compare(Win1250("Ćma"), "Dom"), 0);
}

}  // namespace
}  // namespace trevo::qt

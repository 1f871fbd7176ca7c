// The company picker's order on Windows: CompareStringEx over the Windows-1250 names.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/platform/UserLocaleCollation.h"

namespace trevo {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> names, const StringCollation& collation) {
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return collation.Compare(a, b) < 0;
    });
    return names;
}

TEST(WindowsCollation, PolishLettersSortAfterTheirBaseLetters) {
    const UserLocaleCollation polish(L"pl-PL");
    // "Łódź", "ąb", "Źdźbło", "Żuraw" in Windows-1250.
    const std::string lodz = "\xA3\xF3\x64\x9F";
    const std::string ab = "\xB9\x62";
    const std::string zdzblo = "\x8F\x64\x9F\x62\xB3o";
    const std::string zuraw = "\xAFuraw";
    EXPECT_EQ(Sorted({"M\xB3"
                      "awa",
                      zuraw, lodz, "b", zdzblo, ab, "Lublin", "Zakopane", "ab"},
                     polish),
              (std::vector<std::string>{"ab", ab, "b", "Lublin", lodz,
                                        "M\xB3"
                                        "awa",
                                        "Zakopane", zdzblo, zuraw}));
}

TEST(WindowsCollation, CaseCountsAndEqualTextsAreEqual) {
    for (const UserLocaleCollation& collation :
         {UserLocaleCollation(), UserLocaleCollation(L"pl-PL")}) {
        EXPECT_NE(collation.Compare("firma", "FIRMA"), 0);
        EXPECT_EQ(collation.Compare("firma", "FIRMA"), -collation.Compare("FIRMA", "firma"));
        EXPECT_EQ(collation.Compare("\xA3\xF3\x64\x9F", "\xA3\xF3\x64\x9F"), 0);
        EXPECT_EQ(collation.Compare("", ""), 0);
        EXPECT_LT(collation.Compare("", "a"), 0);
        EXPECT_LT(collation.Compare("abc", "abd"), 0);
        EXPECT_GT(collation.Compare("b", "abc"), 0);
    }
}

}  // namespace
}  // namespace trevo

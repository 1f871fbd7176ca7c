#include <gtest/gtest.h>

#include "cli/ConvertArguments.h"

namespace trevo::cli {
namespace {

ConvertArguments Parsed(const std::vector<std::string>& args) {
    auto result = ParseConvertArguments(args);
    EXPECT_TRUE(std::holds_alternative<ConvertArguments>(result));
    return std::holds_alternative<ConvertArguments>(result) ? std::get<ConvertArguments>(result)
                                                            : ConvertArguments{};
}

std::string Error(const std::vector<std::string>& args) {
    auto result = ParseConvertArguments(args);
    return std::holds_alternative<UsageError>(result) ? std::get<UsageError>(result).message : "";
}

TEST(ConvertArguments, OptionsInAnyOrderAndBothValueForms) {
    const ConvertArguments a =
        Parsed({"--code-page", "852", "e.kpm", "--attribute=A", "--register", "Ż", "/kpr/F1"});
    EXPECT_EQ(a.ledgerCode, PolishCharset::pcCp852);
    EXPECT_EQ(a.attributeLetter, 'A');
    EXPECT_EQ(a.registerLetter, '\xAF');
    EXPECT_EQ(a.exportFile, "e.kpm");
    EXPECT_EQ(a.ledgerDir, "/kpr/F1");
    EXPECT_FALSE(a.checkOnly);

    const ConvertArguments b = Parsed({"--check", "e.kpm"});
    EXPECT_TRUE(b.checkOnly);
    EXPECT_EQ(b.ledgerCode, PolishCharset::pcMazovia);
    EXPECT_FALSE(b.ledgerDir);
    EXPECT_EQ(b.attributeLetter, 0);
}

TEST(ConvertArguments, PathsBecomeWindows1250) {
    EXPECT_EQ(Parsed({"--check", "/dane/Łódź.kpm"}).exportFile, "/dane/\xA3\xF3\x64\x9F.kpm");
    EXPECT_EQ(Parsed({"--check", "--", "-odd-name"}).exportFile, "-odd-name");
    EXPECT_EQ(Parsed({"--check", "-"}).exportFile, "-");
    // The last of a repeated option counts.
    EXPECT_EQ(Parsed({"--code-page=852", "--code-page", "mazovia", "--check", "e"}).ledgerCode,
              PolishCharset::pcMazovia);
}

TEST(ConvertArguments, UsageErrorsNameTheOption) {
    EXPECT_NE(Error({"--frobnicate", "e"}).find("--frobnicate"), std::string::npos);
    EXPECT_NE(Error({"--code-page", "437", "e", "d"}).find("--code-page"), std::string::npos);
    EXPECT_NE(Error({"--attribute", "AB", "e", "d"}).find("--attribute"), std::string::npos);
    EXPECT_NE(Error({"--register", "中", "e", "d"}).find("--register"), std::string::npos);
    EXPECT_NE(Error({"--attribute", "", "e", "d"}).find("--attribute"), std::string::npos);
    EXPECT_NE(Error({"e", "d", "--register"}).find("--register"), std::string::npos);
    EXPECT_NE(Error({"e"}).find("LEDGER_DIR"), std::string::npos);
    EXPECT_NE(Error({}).find("EXPORT_FILE"), std::string::npos);
    EXPECT_NE(Error({"e", "d", "x"}).find("'x'"), std::string::npos);
    EXPECT_TRUE(std::holds_alternative<HelpRequested>(ParseConvertArguments({"e", "--help"})));
    EXPECT_TRUE(std::holds_alternative<HelpRequested>(ParseConvertArguments({"-h"})));
    // A path outside Windows-1250, and bytes that are no UTF-8.
    EXPECT_NE(Error({"--check", "/dane/中.kpm"}).find("Windows-1250"), std::string::npos);
    EXPECT_NE(Error({"--check", "/dane/\xFF.kpm"}).find("Windows-1250"), std::string::npos);
}

}  // namespace
}  // namespace trevo::cli

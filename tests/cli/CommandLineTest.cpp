// The argument rules scripts rely on, each with the exact Polish message a mistake gets.

#include <gtest/gtest.h>

#include "cli/CommandLine.h"

namespace trevo::cli {
namespace {

// A command with a flag and a value option, as the commands declare theirs.
struct Parsed {
    CommandLine line;
    std::optional<std::variant<HelpRequested, UsageError>> stop;

    explicit Parsed(const std::vector<std::string>& args) {
        line.AddFlag("check");
        line.AddValueOption("code-page", "mazovia|852");
        stop = line.Parse(args);
    }
    bool Help() const { return stop && std::holds_alternative<HelpRequested>(*stop); }
    std::string Error() const {
        return stop && std::holds_alternative<UsageError>(*stop)
                   ? std::get<UsageError>(*stop).message
                   : "";
    }
};

using Strings = std::vector<std::string>;

TEST(CommandLine, ValuesFollowAnEqualsSignOrComeAsTheNextArgumentWhateverItHolds) {
    EXPECT_EQ(Parsed({"--code-page=852"}).line.Value("code-page"), "852");
    EXPECT_EQ(Parsed({"--code-page", "852"}).line.Value("code-page"), "852");
    EXPECT_EQ(Parsed({"--code-page="}).line.Value("code-page"), "");
    EXPECT_EQ(Parsed({"--code-page=a=b"}).line.Value("code-page"), "a=b");
    // The next argument is the value even when it looks like an option.
    const Parsed dashed({"--code-page", "--help", "x"});
    EXPECT_FALSE(dashed.stop);
    EXPECT_EQ(dashed.line.Value("code-page"), "--help");
    EXPECT_EQ(dashed.line.Positional(), Strings{"x"});
    EXPECT_EQ(Parsed({"--code-page", "--"}).line.Value("code-page"), "--");
    // Given again, the last value counts; not given, there is none.
    EXPECT_EQ(Parsed({"--code-page=852", "-code-page", "mazovia"}).line.Value("code-page"),
              "mazovia");
    EXPECT_FALSE(Parsed({"x"}).line.Value("code-page"));
    EXPECT_FALSE(Parsed({"x"}).line.IsSet("check"));
    EXPECT_TRUE(Parsed({"--check", "--check"}).line.IsSet("check"));
}

TEST(CommandLine, OneDashNamesALongOptionToo) {
    EXPECT_TRUE(Parsed({"-check"}).line.IsSet("check"));
    EXPECT_EQ(Parsed({"-code-page=852"}).line.Value("code-page"), "852");
    EXPECT_TRUE(Parsed({"-h"}).Help());
    EXPECT_TRUE(Parsed({"--h"}).Help());
    EXPECT_TRUE(Parsed({"-help"}).Help());
    // No bundling of one-letter options: "-hc" is one unknown option.
    EXPECT_EQ(Parsed({"-hc"}).Error(), "nieznana opcja '--hc'");
}

TEST(CommandLine, PositionalArgumentsAnywhereAndAfterTheEndOfOptions) {
    EXPECT_EQ(Parsed({"a", "--check", "b"}).line.Positional(), (Strings{"a", "b"}));
    const Parsed ended({"--check", "--", "--code-page", "-h", "--", "-"});
    EXPECT_FALSE(ended.stop);
    EXPECT_EQ(ended.line.Positional(), (Strings{"--code-page", "-h", "--", "-"}));
    EXPECT_FALSE(ended.line.Value("code-page"));
    EXPECT_EQ(Parsed({"-", ""}).line.Positional(), (Strings{"-", ""}));
}

TEST(CommandLine, MistakesAreNamedAsTyped) {
    EXPECT_EQ(Parsed({"--frob"}).Error(), "nieznana opcja '--frob'");
    EXPECT_EQ(Parsed({"-x"}).Error(), "nieznana opcja '-x'");
    EXPECT_EQ(Parsed({"--x=1"}).Error(), "nieznana opcja '-x'");
    EXPECT_EQ(Parsed({"-frob=1"}).Error(), "nieznana opcja '--frob'");
    EXPECT_EQ(Parsed({"---check"}).Error(), "nieznana opcja '---check'");
    EXPECT_EQ(Parsed({"--=1"}).Error(), "nieznana opcja '--'");
    // One letter is one character, however many bytes: "-ż"; a character beyond the
    // sixteen-bit range counts as two, as it did.
    EXPECT_EQ(Parsed({"--ż"}).Error(), "nieznana opcja '-ż'");
    EXPECT_EQ(Parsed({"-\xF0\x9F\x98\x80"}).Error(), "nieznana opcja '--\xF0\x9F\x98\x80'");
    EXPECT_EQ(Parsed({"--code-page"}).Error(), "opcja '--code-page' wymaga wartości");
    EXPECT_EQ(Parsed({"-code-page"}).Error(), "opcja '-code-page' wymaga wartości");
    EXPECT_EQ(Parsed({"--check=yes"}).Error(), "opcja '--check' nie przyjmuje wartości");
    EXPECT_EQ(Parsed({"-check="}).Error(), "opcja '-check' nie przyjmuje wartości");
}

TEST(CommandLine, HelpWinsThenTheFirstUnknownOptionThenTheLastValueMistake) {
    EXPECT_TRUE(Parsed({"--frob", "--check=1", "--help"}).Help());
    EXPECT_TRUE(Parsed({"-h", "--code-page"}).Help());
    EXPECT_EQ(Parsed({"--check=1", "--a", "--b"}).Error(), "nieznana opcja '-a'");
    EXPECT_EQ(Parsed({"--check=1", "--code-page"}).Error(), "opcja '--code-page' wymaga wartości");
    EXPECT_EQ(Parsed({"--code-page", "852", "-check=1"}).Error(),
              "opcja '-check' nie przyjmuje wartości");
}

TEST(CommandLine, ArgumentsAreReadAsUtf8) {
    const std::string replacement = "\xEF\xBF\xBD";
    // Each byte of a malformed sequence becomes U+FFFD; a whole sequence after it stays.
    EXPECT_EQ(Parsed({"\xE2\x82x"}).line.Positional()[0], replacement + replacement + "x");
    EXPECT_EQ(Parsed({"\xE2\x82\xE2\x82\xAC"}).line.Positional()[0],
              replacement + replacement + "\xE2\x82\xAC");
    EXPECT_EQ(Parsed({"\xC0\xAF"}).line.Positional()[0], replacement + replacement);
    EXPECT_EQ(Parsed({"\xED\xA0\x80"}).line.Positional()[0],
              replacement + replacement + replacement);
    EXPECT_EQ(Parsed({"--code-page", "\xFF"}).line.Value("code-page"), replacement);
    // A byte order mark is dropped at the start only.
    EXPECT_EQ(Parsed({"\xEF\xBB\xBF-h"}).Help(), true);
    EXPECT_EQ(Parsed({"a\xEF\xBB\xBF"}).line.Positional()[0], "a\xEF\xBB\xBF");
    EXPECT_EQ(Parsed({"Łódź"}).line.Positional()[0], "Łódź");
}

TEST(CommandLine, ParsingAgainStartsAfresh) {
    Parsed parsed({"--check", "--code-page=852", "a"});
    EXPECT_FALSE(parsed.line.Parse({"b"}));
    EXPECT_FALSE(parsed.line.IsSet("check"));
    EXPECT_FALSE(parsed.line.Value("code-page"));
    EXPECT_EQ(parsed.line.Positional(), Strings{"b"});
}

}  // namespace
}  // namespace trevo::cli

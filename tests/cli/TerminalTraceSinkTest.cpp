#include "cli/TerminalTraceSink.h"

#include <gtest/gtest.h>

#include "testing/ExportLineBuilder.h"

namespace trevo::cli {
namespace {

TEST(TerminalTraceSinkTest, ControlsShowInCaretNotationAndC1AsReplacement) {
    EXPECT_EQ(TerminalTraceSink::Visible("a\tb\rc\x7f"
                                         "d\x1b"),
              "a^Ib^Mc^?d^[\n");
    EXPECT_EQ(TerminalTraceSink::Visible(std::string("\x00\x1f", 2)), "^@^_\n");
    EXPECT_EQ(TerminalTraceSink::Visible("\x81\x83\x88\x90\x98"),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\n");
    // Letters stay letters; CR LF inside a trace line still breaks it, as on a file.
    EXPECT_EQ(TerminalTraceSink::Visible(testing::Win1250("Łódź „")), "Łódź „\n");
    EXPECT_EQ(TerminalTraceSink::Visible("\r\nOsi"), "\nOsi\n");
}

}  // namespace
}  // namespace trevo::cli

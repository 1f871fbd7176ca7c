#include <gtest/gtest.h>

#include "engine/text/CurrencyFormat.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250.h"
#include "engine/text/Win1250Literal.h"
#include "testing/SystemCodePage.h"

namespace trevo {
namespace {

using namespace trevo::literals;

// The system's own table of Windows-1250 is independent of ours.
TEST(Win1250, DefinedBytesMatchTheSystemCodePage) {
    for (int byte = 0; byte < 256; ++byte) {
        const auto expected = testing::SystemDecode(std::string(1, static_cast<char>(byte)),
                                                    testing::SystemCodePage::Windows1250);
        if (!expected) {
            continue;  // undefined in the code page
        }
        EXPECT_EQ(text::Win1250ToUtf8(std::string(1, static_cast<char>(byte))), *expected)
            << "byte " << byte;
    }
}

TEST(Win1250, UndefinedBytesBecomeTheirC1ControlsAndRoundTrip) {
    for (const unsigned char byte : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        EXPECT_EQ(text::Win1250ToCodePoint(byte), char32_t{byte});
    }
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(text::Utf8ToWin1250(text::Win1250ToUtf8(all)), all);
}

TEST(Win1250, Utf8WithoutAWindows1250ByteOrMalformedIsRefused) {
    EXPECT_FALSE(text::Utf8ToWin1250("中"));
    EXPECT_FALSE(text::Utf8ToWin1250("\xC5"));          // cut short
    EXPECT_FALSE(text::Utf8ToWin1250("\xC0\xAF"));      // overlong
    EXPECT_FALSE(text::Utf8ToWin1250("\xED\xA0\x80"));  // surrogate
    EXPECT_EQ(text::Utf8ToWin1250("Łódź"), std::string("\xA3\xF3\x64\x9F"));
}

TEST(Win1250, MessageLiteralsAreConvertedWhileCompiling) {
    constexpr auto message = "Błąd określenia MIESIĄCA"_w1250;
    static_assert(message.size() == 24);
    EXPECT_EQ(message, std::string_view("B\xB3\xB9"
                                        "d okre\x9Clenia MIESI\xA5"
                                        "CA"));
}

TEST(MessageFormat, FillsTextsAndNumbersInOrder) {
    EXPECT_EQ(FormatMessage("a %s b %d c %d%%", {"x", -7, 2024}), "a x b -7 c 2024%");
    EXPECT_EQ(FormatMessage("%s|%s", {"only"}), "only|");
    // Text around and between directives is copied whole; a '%' at the very end is text.
    EXPECT_EQ(FormatMessage("100%", {}), "100%");
    EXPECT_EQ(FormatMessage("%d%s end %", {1, "x"}), "1x end %");
    EXPECT_EQ(FormatMessage("", {1}), "");
}

TEST(MessageFormat, AmountsAndLongArgumentsFitWhateverTheCurrencyFormat) {
    CurrencyFormat wide;
    wide.symbol = std::string(40, 'S');
    wide.thousandsSeparator = "<->";
    wide.decimalSeparator = "[,]";
    wide.positiveFormat = 2;
    wide.negativeFormat = 14;
    const std::string symbol(40, 'S');
    std::string out = "before|";
    AppendMessage(out, "%m %m %m %d %s",
                  {-1234567.891, 1e300, 0.5, INT64_MIN, std::string(300, 'x')}, &wide);
    EXPECT_EQ(out, "before|(" + symbol + " 1<->234<->567[,]89) 1E+300 " + symbol + " 0[,]50 " +
                       "-9223372036854775808 " + std::string(300, 'x'));
    // An amount without a currency format prints nothing.
    EXPECT_EQ(FormatMessage("[%m]", {2.5}), "[]");
}

}  // namespace
}  // namespace trevo

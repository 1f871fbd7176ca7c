// The letter transcoding over arbitrary text, for every pair of codes: the result against a
// plain model of the rules, the length rule, and round trips between the four real code pages.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/text/zdTransPL.h"
#include "fuzz/FuzzCheck.h"

namespace trevo::fuzz {
namespace {

constexpr int kTwoChar = 3;

std::string_view Row(int code) {
    return {reinterpret_cast<const char*>(PolishLetterTable[code] + 1), kPolishLetterCount};
}

// 1-based column of the first occurrence of `c` in the row, 0 when absent.
std::size_t Column(int code, char c) {
    const std::size_t at = Row(code).find(c);
    return at == std::string_view::npos ? 0 : at + 1;
}

// The rules as stated: one look per position, first occurrence wins.
std::string Model(std::string_view text, int source, int target) {
    if (source == target || (target == kTwoChar && source == 0)) {
        return std::string(text);
    }
    std::string result;
    for (const char c : text) {
        const std::size_t k = Column(source, c);
        if (k == 0) {
            result += c;
        } else if (target == kTwoChar) {
            result += Row(kTwoChar)[k - 1];
            result += Row(0)[k - 1];
        } else {
            result += Row(target)[k - 1];
        }
    }
    return result;
}

std::string Convert(std::string_view text, int source, int target) {
    return ConvertPolishLetters(text, static_cast<PolishCharset>(source),
                                static_cast<PolishCharset>(target));
}

void CheckPair(std::string_view text, int source, int target) {
    const std::string result = Convert(text, source, target);
    Require(result == Model(text, source, target), "the result differs from the rules");
    std::size_t letters = 0;
    for (const char c : text) {
        letters += Column(source, c) > 0 ? 1 : 0;
    }
    const bool expands = target == kTwoChar && source != 0 && source != kTwoChar;
    Require(result.size() == text.size() + (expands ? letters : 0), "the length rule is broken");
    if (source == 5) {
        Require(FromWin1250(text, static_cast<PolishCharset>(target)) == result,
                "FromWin1250 is not the conversion from code 5");
    }
    if (target == 5) {
        Require(ToWin1250(text, static_cast<PolishCharset>(source)) == result,
                "ToWin1250 is not the conversion into code 5");
    }
}

// Between two real code pages a text comes back unchanged unless it holds a byte that is a
// letter only of the other page.
void CheckRoundTrip(std::string_view text, int a, int b) {
    Require(Convert(Convert(Row(a), a, b), b, a) == Row(a), "the eighteen letters do not return");
    Require(Convert(Row(a), a, b) == Row(b), "the eighteen letters do not map column to column");
    for (const char c : text) {
        if (Column(b, c) > 0 && Column(a, c) == 0) {
            return;
        }
    }
    Require(Convert(Convert(text, a, b), b, a) == text, "a round trip changed the text");
}

}  // namespace
}  // namespace trevo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int source = 0; source < trevo::kPolishCharsetCount; ++source) {
        for (int target = 0; target < trevo::kPolishCharsetCount; ++target) {
            trevo::fuzz::CheckPair(text, source, target);
        }
    }
    for (const int a : {1, 2, 4, 5}) {
        for (const int b : {1, 2, 4, 5}) {
            trevo::fuzz::CheckRoundTrip(text, a, b);
        }
    }
    return 0;
}

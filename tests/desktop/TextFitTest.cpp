#include "desktop/TextFit.h"

#include <gtest/gtest.h>

namespace trevo::desktop {
namespace {

// One unit a character, however many bytes it takes.
int Characters(std::string_view text) {
    int count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

TEST(TextFitTest, WholeWhenItFits) {
    EXPECT_EQ(FitToWidth("Zaksięgowano 5 dok.", 0, 19, Characters), "Zaksięgowano 5 dok.");
    EXPECT_EQ(FitToWidth("", 0, 0, Characters), "");
}

TEST(TextFitTest, KeepsTheStartWholeAndBothEndsOfTheRest) {
    const std::string digest =
        "Zaksięgowano 300000 dok.; odrzucone: 0; już w KPR: 0 - przebieg przerwany";
    const std::size_t kept = digest.find("; ");
    const std::string fitted = FitToWidth(digest, kept, 50, Characters);
    EXPECT_EQ(Characters(fitted), 50);
    EXPECT_EQ(fitted, "Zaksięgowano 300000 dok.; odrzucone: …eg przerwany");
    // Nothing but the kept start and the ellipsis.
    EXPECT_EQ(FitToWidth(digest, kept, 25, Characters), "Zaksięgowano 300000 dok.…");
    // Narrower still: the start as far as it goes.
    EXPECT_EQ(FitToWidth(digest, kept, 6, Characters), "Zaksi…");
    EXPECT_EQ(FitToWidth(digest, kept, 0, Characters), "…");
}

TEST(TextFitTest, NeverCutsACharacterInTwo) {
    const std::string text = "ąęśćżźńółĄĘŚĆŻŹŃÓŁ";
    for (int width = 1; width < 18; ++width) {
        const std::string fitted = FitToWidth(text, 0, width, Characters);
        EXPECT_EQ(Characters(fitted), width);
        // Valid UTF-8: every lead byte is followed by its continuation bytes.
        EXPECT_EQ(fitted.size() % 2, 1u) << fitted;  // two-byte letters and a three-byte "…"
    }
}

TEST(TextFitTest, ElideMiddleCountsCharacters) {
    EXPECT_EQ(ElideMiddle("/home/księgowa/KPR", 18), "/home/księgowa/KPR");
    EXPECT_EQ(ElideMiddle("/home/księgowa/KPR", 9), "/hom…/KPR");
    EXPECT_EQ(ElideMiddle("/home/księgowa/KPR", 1), "…");
}

}  // namespace
}  // namespace trevo::desktop

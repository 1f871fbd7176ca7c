#include "desktop/QuestionText.h"

#include <gtest/gtest.h>

namespace trevo::desktop {
namespace {

TEST(QuestionTextTest, ConfirmationSaysOnItsSecondLineWhatTheRunWillDo) {
    const QuestionText check = ConfirmationQuestion(true, "/kpr/FIRMA1");
    EXPECT_EQ(check.text,
              "Rozpocząć żmudny proces konwersji danych ?\n"
              "tylko sprawdzenie, nic nie zostanie zapisane");
    EXPECT_EQ(check.details, "");
    const QuestionText write = ConfirmationQuestion(false, "/kpr/FIRMA1");
    EXPECT_EQ(write.text,
              "Rozpocząć żmudny proces konwersji danych ?\n"
              "zapis do katalogu danych KPR: /kpr/FIRMA1");
    EXPECT_EQ(write.details, "");
}

TEST(QuestionTextTest, LongPathIsShortenedAndWholeInTheDetails) {
    const std::string path = "/kpr/" + std::string(4040, 'a') + "/Ż";
    const QuestionText question = ConfirmationQuestion(false, path);
    const std::string second = question.text.substr(question.text.find('\n') + 1);
    EXPECT_LT(second.size(), 100u);
    EXPECT_EQ(second.substr(0, 35), "zapis do katalogu danych KPR: /kpr/");
    EXPECT_NE(second.find("…"), std::string::npos);
    EXPECT_EQ(second.substr(second.size() - 4), "a/Ż");
    EXPECT_EQ(question.details,
              "Rozpocząć żmudny proces konwersji danych ?\nzapis do katalogu danych KPR: " + path);
}

TEST(QuestionTextTest, UndoQuestionListsThePlanAfterAnEmptyLine) {
    const QuestionText question = UndoQuestion(
        "/kpr/FIRMA1", {"Cofnięcie przebiegu z …:", "  2024ORMEK.3: zostałby usunięty"});
    EXPECT_EQ(question.text,
              "Cofnąć ostatnią konwersję do katalogu /kpr/FIRMA1?\n\n"
              "Cofnięcie przebiegu z …:\n  2024ORMEK.3: zostałby usunięty");
    EXPECT_EQ(question.details, "");
    const std::string path(4046, 'k');
    EXPECT_EQ(UndoQuestion(path, {}).details,
              "Cofnąć ostatnią konwersję do katalogu " + path + "?\n");
}

}  // namespace
}  // namespace trevo::desktop

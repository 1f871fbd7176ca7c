#pragma once
// The texts of the window's questions. A question box grows with its longest line, so a long
// path would push its buttons off the screen: long lines are shortened in the middle, and the
// box's details then hold every line whole.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trevo::desktop {

struct QuestionText {
    std::string text;     // UTF-8, the lines joined by '\n'
    std::string details;  // every line whole; empty when none was shortened
};

inline constexpr std::size_t kQuestionLineCharacters = 80;

// `lines` as a question, each longer than `maxCharacters` shortened in the middle.
QuestionText ShortenedQuestion(const std::vector<std::string>& lines,
                               std::size_t maxCharacters = kQuestionLineCharacters);

// The question before a run: the fixed question, and on a second line what the run will do:
// only check, or write into the ledger directory named.
QuestionText ConfirmationQuestion(bool checkOnly, std::string_view ledgerDir);

// The question before undo: the directory, an empty line, then what undo would do.
QuestionText UndoQuestion(std::string_view ledgerDir, const std::vector<std::string>& plan);

}  // namespace trevo::desktop

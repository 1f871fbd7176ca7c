#include "desktop/QuestionText.h"

#include "desktop/TextFit.h"

namespace trevo::desktop {

namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        text += lines[i];
    }
    return text;
}

}  // namespace

QuestionText ShortenedQuestion(const std::vector<std::string>& lines, std::size_t maxCharacters) {
    std::vector<std::string> shown;
    bool shortened = false;
    for (const std::string& line : lines) {
        shown.push_back(ElideMiddle(line, maxCharacters));
        shortened = shortened || shown.back() != line;
    }
    return {Joined(shown), shortened ? Joined(lines) : std::string()};
}

QuestionText ConfirmationQuestion(bool checkOnly, std::string_view ledgerDir) {
    std::string what = checkOnly ? std::string("tylko sprawdzenie, nic nie zostanie zapisane")
                                 : "zapis do katalogu danych KPR: " + std::string(ledgerDir);
    return ShortenedQuestion({"Rozpocząć żmudny proces konwersji danych ?", std::move(what)});
}

QuestionText UndoQuestion(std::string_view ledgerDir, const std::vector<std::string>& plan) {
    std::vector<std::string> lines{
        "Cofnąć ostatnią konwersję do katalogu " + std::string(ledgerDir) + "?", {}};
    lines.insert(lines.end(), plan.begin(), plan.end());
    return ShortenedQuestion(lines);
}

}  // namespace trevo::desktop

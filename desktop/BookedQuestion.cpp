#include "desktop/BookedQuestion.h"

#include <cstddef>

#include "engine/text/Win1250.h"

namespace trevo::desktop {

namespace {

constexpr std::size_t kNumbersNamed = 5;

}  // namespace

std::string BookedQuestionText(const BookedScan& scan) {
    std::string named;
    for (std::size_t i = 0; i < scan.booked.size() && i < kNumbersNamed; ++i) {
        if (i > 0) {
            named += ", ";
        }
        named += '"' + text::Win1250ToUtf8(scan.booked[i].document.docNumber) + '"';
    }
    if (scan.booked.size() > kNumbersNamed) {
        named += " i " + std::to_string(scan.booked.size() - kNumbersNamed) + " innych";
    }
    return "W KPR jest już " + std::to_string(scan.booked.size()) + " z " +
           std::to_string(scan.documents) +
           " dokumentów tego eksportu (ten sam numer, NIP i data):\n" + named +
           "\n\n"
           "Pominąć je?\n"
           "Tak - pomiń je, Nie - zaksięguj je ponownie, Anuluj - nic nie rób.";
}

}  // namespace trevo::desktop

#include "engine/journal/UndoReportText.h"

#include <cstdio>

#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kUndone = "Cofnięto przebieg z %s (plik eksportu \"%s\"):"_w1250;
constexpr auto kWouldUndo = "Cofnięcie przebiegu z %s (plik eksportu \"%s\"):"_w1250;
constexpr auto kRemoved = "  %s: usunięty (utworzył go ten przebieg)"_w1250;
constexpr auto kWouldRemove = "  %s: zostałby usunięty (utworzył go ten przebieg)"_w1250;
constexpr auto kCut = "  %s: skrócony z %d do %d bajtów, rekordów usuniętych: %d"_w1250;
constexpr auto kWouldCut =
    "  %s: zostałby skrócony z %d do %d bajtów, rekordów usuniętych: %d"_w1250;
constexpr auto kPartRestored = ", przywrócone bajty niepełnego rekordu: %d"_w1250;
constexpr auto kNoFile = "  przebieg nie zmienił żadnego pliku"_w1250;
constexpr auto kResumed = "  (dokończono cofanie, które wcześniej zostało przerwane)"_w1250;
constexpr auto kSetAside =
    "Odłożono dziennik %s jako %s; żaden plik danych KPR nie został zmieniony"_w1250;

std::int64_t Signed(std::uint64_t value) {
    return static_cast<std::int64_t>(value);
}

}  // namespace

std::vector<std::string> UndoReportLines(const UndoReport& report, bool checkOnly) {
    char started[64];
    std::snprintf(started, sizeof started, "%04d-%02d-%02d %02d:%02d:%02d", report.started.year,
                  report.started.month, report.started.day, report.started.hour,
                  report.started.minute, report.started.second);
    std::vector<std::string> lines;
    lines.push_back(FormatMessage(checkOnly ? kWouldUndo : kUndone, {started, report.exportPath}));
    for (const UndoFileStep& step : report.steps) {
        if (step.remove) {
            lines.push_back(FormatMessage(checkOnly ? kWouldRemove : kRemoved, {step.fileName}));
            continue;
        }
        std::string line = FormatMessage(checkOnly ? kWouldCut : kCut,
                                         {step.fileName, Signed(step.sizeNow),
                                          Signed(step.sizeBefore), Signed(step.recordsRemoved)});
        if (step.bytesRestored != 0) {
            AppendMessage(line, kPartRestored, {Signed(step.bytesRestored)});
        }
        lines.push_back(std::move(line));
    }
    if (report.steps.empty()) {
        lines.emplace_back(kNoFile);
    }
    if (report.resumed) {
        lines.emplace_back(kResumed);
    }
    return lines;
}

std::string SetAsideLine(const UndoReport& report) {
    return FormatMessage(kSetAside, {report.journalPath, report.setAsideAs});
}

}  // namespace trevo

#include "desktop/StatusLine.h"

#include <cstdint>

#include "engine/text/Win1250.h"

namespace trevo::desktop {

void StatusLine::ReplaceDigest(StatusText digest) {
    digest_ = std::move(digest);
}

void StatusLine::ShowRefusal(StatusText refusal) {
    refusal_ = std::move(refusal);
}

const StatusText& StatusLine::Shown() const {
    return refusal_.text.empty() ? digest_ : refusal_;
}

StatusText RunDigest(std::string digest) {
    const std::size_t firstPart = digest.find("; ");
    const std::size_t kept = firstPart == std::string::npos ? 0 : firstPart;
    return {std::move(digest), kept};
}

UndoStatus UndoStatusText(const UndoReport& report) {
    using Status = UndoReport::Status;
    const std::string caption = "Cofnij ostatnią konwersję: ";
    const std::string problem = text::Win1250ToUtf8(report.problem);
    switch (report.status) {
        case Status::Done: {
            std::uint64_t records = 0;
            std::size_t removed = 0;
            for (const UndoFileStep& step : report.steps) {
                records += step.recordsRemoved;
                removed += step.remove ? 1 : 0;
            }
            std::string text = "Cofnięto ostatnią konwersję: plików " +
                               std::to_string(report.steps.size()) + " (usuniętych " +
                               std::to_string(removed) + "), rekordów usuniętych " +
                               std::to_string(records);
            return {{std::move(text), 0}, true};
        }
        case Status::FailedPartWay: {
            std::string text = "Cofanie przerwane, pliki zmienione tylko w części: " + problem;
            return {{text, text.size() - problem.size()}, true};
        }
        case Status::RolledBack:
        case Status::Refused: {
            std::string text = caption + "nic nie zmieniono: " + problem;
            return {{text, text.size() - problem.size()}, false};
        }
        case Status::NothingToUndo:
            break;
    }
    std::string text = caption + "w katalogu nie ma konwersji do cofnięcia";
    return {{std::move(text), 0}, false};
}

}  // namespace trevo::desktop

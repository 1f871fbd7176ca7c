#include "engine/journal/UndoSession.h"

#include "engine/files/FileSystem.h"
#include "engine/journal/UndoReportText.h"
#include "engine/text/MessageFormat.h"
#include "engine/text/Win1250Literal.h"

namespace trevo {

using namespace trevo::literals;

namespace {

constexpr auto kTitle = " *** Cofnięcie ostatniej konwersji ***"_w1250;
constexpr auto kNothing = "W katalogu %s nie ma konwersji do cofnięcia"_w1250;
constexpr auto kRefused = "Nie można cofnąć - nic nie zmieniono: %s"_w1250;
constexpr auto kRolledBack = "Cofanie nie powiodło się - nic nie zmieniono: %s"_w1250;
constexpr auto kFailed = "Cofanie przerwane: %s"_w1250;
constexpr auto kWarning = "Uwaga: %s"_w1250;

}  // namespace

UndoSessionResult RunUndoSession(FileSystem& fileSystem, const std::string& ledgerDir,
                                 UndoRequest request) {
    UndoSessionResult result;
    UndoReport& report = result.report;
    report = request == UndoRequest::DiscardUnfinished
                 ? DiscardUnfinishedRun(fileSystem, ledgerDir)
                 : UndoLastRun(fileSystem, ledgerDir, request == UndoRequest::Check);
    using Status = UndoReport::Status;
    switch (report.status) {
        case Status::Done:
            if (request == UndoRequest::DiscardUnfinished) {
                result.doneLines.push_back(SetAsideLine(report));
            } else {
                result.doneLines = UndoReportLines(report, request == UndoRequest::Check);
            }
            if (!report.warning.empty()) {
                result.message = FormatMessage(kWarning, {report.warning});
            }
            break;
        case Status::NothingToUndo:
            result.message = FormatMessage(kNothing, {ledgerDir});
            break;
        case Status::Refused:
            result.message = FormatMessage(kRefused, {report.problem});
            break;
        case Status::RolledBack:
            result.message = FormatMessage(kRolledBack, {report.problem});
            break;
        case Status::FailedPartWay:
            result.message = FormatMessage(kFailed, {report.problem});
            break;
    }
    return result;
}

std::string UndoTraceTitle() {
    return std::string(kTitle);
}

}  // namespace trevo

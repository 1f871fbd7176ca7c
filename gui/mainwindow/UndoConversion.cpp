// The main window's undo action: the last writing run into the ledger directory taken back,
// after a question, reported in the trace.

#include <QAction>
#include <QKeySequence>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <QStyle>
#include <exception>

#include "desktop/InputChecks.h"
#include "desktop/QuestionText.h"
#include "engine/files/FileSystem.h"
#include "engine/journal/UndoSession.h"
#include "engine/text/Win1250.h"
#include "gui/mainwindow/BusyWork.h"
#include "gui/mainwindow/PaneTraceSink.h"
#include "gui/mainwindow/frm_Main.h"
#include "gui/widgets/DirectoryEdit.h"
#include "gui/widgets/TracePane.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace {

const QString kCaption = QStringLiteral("Cofnij ostatnią konwersję");
const QString kQuestionCaption = QStringLiteral("Cofnięcie konwersji");
const QString kChecking =
    QStringLiteral("Cofanie: sprawdzanie plików ostatniej konwersji - proszę czekać…");
const QString kUndoing = QStringLiteral("Cofanie ostatniej konwersji - proszę czekać…");

}  // namespace

void TFormMain::BuildUndoAction() {
    // A key the text boxes leave alone (Ctrl+Z undoes typing there), named in the hint as the
    // other actions' keys are; a question follows in any case.
    const QKeySequence key(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    act_Cofnij = new QAction(style()->standardIcon(QStyle::SP_ArrowBack), kCaption, this);
    act_Cofnij->setObjectName("act_Cofnij");
    act_Cofnij->setShortcut(key);
    act_Cofnij->setToolTip(QStringLiteral("Cofa ostatnią konwersję do katalogu danych KPR (%1)")
                               .arg(key.toString(QKeySequence::NativeText)));
    connect(act_Cofnij, &QAction::triggered, this, &TFormMain::act_CofnijExecute);
    addAction(act_Cofnij);
}

void TFormMain::act_CofnijExecute() {
    if (running_) {
        return;
    }
    Guarded([this] {
        ActionStarted();
        if (const auto refusal =
                desktop::CheckLedgerDirectory(de_KPR->text().toStdString(), fileSystem_)) {
            Refuse(*refusal);
            return;
        }
        const std::string ledgerDir = Win1250FromQString(de_KPR->text());
        const QScopedValueRollback<bool> running(running_, true);
        PaneTraceSink trace(*MemoTrace);
        // What undo did (or why it did nothing), under its heading.
        const auto show = [this, &trace](const UndoSessionResult& result) {
            trace.AppendLine({});
            trace.AppendLine(UndoTraceTitle());
            for (const std::string& text : result.doneLines) {
                trace.AppendLine(text);
            }
            if (!result.message.empty()) {
                trace.AppendLine(result.message);
            }
            trace.Flush();
            ShowUndoStatus(result.report);
        };
        UndoSessionResult plan;
        {
            // Reading every file the run touched takes a while on a large ledger.
            const BusyWork busy(*this, *StatusBar, kChecking);
            plan = RunUndoSession(fileSystem_, ledgerDir, UndoRequest::Check);
        }
        if (plan.report.status != UndoReport::Status::Done) {
            show(plan);
            return;
        }
        std::vector<std::string> planLines;
        for (const std::string& text : plan.doneLines) {
            planLines.push_back(text::Win1250ToUtf8(text));
        }
        const desktop::QuestionText question =
            desktop::UndoQuestion(de_KPR->text().toStdString(), planLines);
        if (!hooks_.askYesNo(this, kQuestionCaption, QString::fromStdString(question.text),
                             QString::fromStdString(question.details))) {
            return;
        }
        UndoSessionResult done;
        {
            // The answer given, the question leaves the screen before the files change; keys
            // pressed meanwhile (a second Ctrl+Shift+C) are dropped, not asked about afterwards.
            const BusyWork busy(*this, *StatusBar, kUndoing);
            // Checked again while undoing: the files may have changed during the question.
            done = RunUndoSession(fileSystem_, ledgerDir, UndoRequest::Undo);
        }
        show(done);
    });
    if (closeRequested_) {
        // Asked to close while undo worked: now that it has ended.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TFormMain::ShowUndoStatus(const UndoReport& report) {
    const desktop::UndoStatus status = desktop::UndoStatusText(report);
    if (status.changedBooks) {
        statusLine_.ReplaceDigest(status.text);
    } else {
        statusLine_.ShowRefusal(status.text);
    }
    ShowStatusLine();
}

}  // namespace trevo::gui

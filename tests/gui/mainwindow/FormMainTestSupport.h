#pragma once
// What the main window tests share: hooks that record instead of asking, and export lines.

#include <QApplication>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <string>

#include "gui/mainwindow/FormMainHooks.h"
#include "gui/widgets/TracePane.h"
#include "qtplatform/Win1250Text.h"
#include "testing/ExportLineBuilder.h"

namespace trevo::gui::test {

// A settings file of its own for every window a test makes, so that no test sees what another
// one saved and nothing is written beside the test program.
inline QString FreshSettingsPath() {
    static QTemporaryDir directory;
    static int next = 0;
    return directory.filePath(QString("trevo2KPR-%1.INI").arg(++next));
}

// Records every contact of the window with the user; the question is answered by `answer`.
struct UserContacts {
    int beeps = 0;
    int questions = 0;
    QString questionCaption;
    QString questionText;
    QString questionDetails;
    bool answer = false;
    // The already-booked question: Yes (skip), No (book again) or Cancel (nothing).
    int bookedQuestions = 0;
    QString bookedCaption;
    QString bookedText;
    std::optional<bool> bookedAnswer = false;
    QStringList plainMessages;
    QStringList errors;
    // Runs inside the question, before it is answered.
    std::function<void()> whileAsking;

    FormMainHooks Hooks() {
        FormMainHooks hooks;
        hooks.beep = [this] { ++beeps; };
        hooks.askYesNo = [this](QWidget*, const QString& caption, const QString& text,
                                const QString& details) {
            ++questions;
            questionCaption = caption;
            questionText = text;
            questionDetails = details;
            if (whileAsking) {
                whileAsking();
            }
            return answer;
        };
        hooks.askYesNoCancel = [this](QWidget*, const QString& caption, const QString& text) {
            ++bookedQuestions;
            bookedCaption = caption;
            bookedText = text;
            return bookedAnswer;
        };
        hooks.showPlainMessage = [this](QWidget*, const QString& text) { plainMessages << text; };
        hooks.showError = [this](QWidget*, const QString& text) { errors << text; };
        return hooks;
    }
};

// A booked document: date 2024-03-15, type 0, netto 100.00 agreeing with Netto_KPR.
inline std::string ExportDocument(const QString& number, const QString& company) {
    return testing::MarchDocument(Win1250FromQString(number), Win1250FromQString(company));
}

// The status bar's text between runs, whole (it shows shortened when it does not fit); empty
// while the owner line shows.
inline QString StatusText(const QWidget& window) {
    const auto* label = window.findChild<QLabel*>("StatusMessage");
    return label != nullptr && label->isVisibleTo(&window) ? label->property("fullText").toString()
                                                           : QString();
}

// Every line of the trace pane of `window`.
inline QStringList TraceLines(const QWidget& window) {
    const auto* pane = window.findChild<TracePane*>("MemoTrace");
    if (pane == nullptr || pane->LineCount() == 0) {
        return {};
    }
    return pane->toPlainText().split(u'\n');
}

// The trace without the summaries that follow each run's last line.
inline QStringList RunTraceLines(const QWidget& window) {
    const QStringList lines = TraceLines(window);
    QStringList runs;
    bool inSummary = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty() && i + 1 < lines.size() &&
            lines[i + 1] == QStringLiteral(" *** Podsumowanie ***")) {
            inSummary = true;
        } else if (lines[i] == QStringLiteral(" *** Rozpoczynam konwersję ...") ||
                   lines[i] == QStringLiteral(" *** Procedura sprawdzająca (BEZ ZAPISU ) ***")) {
            inSummary = false;
        }
        if (!inSummary) {
            runs << lines[i];
        }
    }
    return runs;
}

}  // namespace trevo::gui::test

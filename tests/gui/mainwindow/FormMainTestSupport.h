#pragma once
// What the main window tests share: hooks that record instead of asking, and export lines.

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "gui/mainwindow/FormMainHooks.h"
#include "qtplatform/Win1250Text.h"
#include "gui/widgets/TracePane.h"

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
    bool answer = false;
    QStringList plainMessages;
    QStringList errors;
    // Runs inside the question, before it is answered.
    std::function<void()> whileAsking;

    FormMainHooks Hooks() {
        FormMainHooks hooks;
        hooks.beep = [this] { ++beeps; };
        hooks.askYesNo = [this](QWidget*, const QString& caption, const QString& text) {
            ++questions;
            questionCaption = caption;
            questionText = text;
            if (whileAsking) {
                whileAsking();
            }
            return answer;
        };
        hooks.showPlainMessage = [this](QWidget*, const QString& text) { plainMessages << text; };
        hooks.showError = [this](QWidget*, const QString& text) { errors << text; };
        return hooks;
    }
};

// A 510-byte document line: the given values at their columns (1-based, as the export file
// numbers them), blanks elsewhere. Texts are written in Windows-1250.
class ExportLine {
  public:
    ExportLine() : bytes_(510, ' ') {}

    ExportLine& Put(int column, const QString& value) {
        const std::string encoded = Win1250FromQString(value);
        bytes_.replace(static_cast<std::size_t>(column - 1), encoded.size(), encoded);
        return *this;
    }

    // A booked document: date 2024-03-15, type 0, netto 100.00 agreeing with Netto_KPR.
    static ExportLine Document(const QString& number, const QString& company) {
        ExportLine line;
        line.Put(10, "20240315")
            .Put(34, number)
            .Put(54, company)
            .Put(216, "100.00")
            .Put(258, "1234567890")
            .Put(271, "0")
            .Put(272, "100.00")
            .Put(357, "23.00")
            .Put(509, "PL");
        return line;
    }

    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// Every line of the trace pane of `window`.
inline QStringList TraceLines(const QWidget& window) {
    const auto* pane = window.findChild<TracePane*>("MemoTrace");
    if (pane == nullptr || pane->LineCount() == 0) {
        return {};
    }
    return pane->toPlainText().split(u'\n');
}

}  // namespace trevo::gui::test

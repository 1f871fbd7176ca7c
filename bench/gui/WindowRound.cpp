#include "bench/gui/WindowRound.h"

#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "bench/gui/RoundResults.h"
#include "bench/support/PeakMemory.h"
#include "gui/mainwindow/frm_Main.h"
#include "gui/widgets/ButtonEdit.h"
#include "gui/widgets/TracePane.h"

namespace trevo::bench {

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// What the user waits for after an input: its handling, the events it posts and a paint.
template <typename Step>
double TimedWithPaint(gui::TracePane& pane, Step&& step) {
    const auto start = Clock::now();
    step();
    QCoreApplication::processEvents();
    pane.viewport()->repaint();
    return MsSince(start);
}

void Key(QWidget& target, int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&target, &release);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The pane's lines joined by '\n' against the command line's, which ends every line with '\n'.
// The window's summary follows the run's last line; the command line's goes to stderr.
bool PaneMatchesCliTrace(const gui::TracePane& pane, const std::string& cliTracePath) {
    QString expected = QString::fromUtf8(ReadAll(cliTracePath));
    if (expected.endsWith(u'\n')) {
        expected.chop(1);
    }
    const QString text = pane.toPlainText();
    return text == expected ||
           (text.startsWith(expected) &&
            QStringView(text).mid(expected.size()).startsWith(u"\n\n *** Podsumowanie ***"));
}

void MeasureAfterRun(gui::TracePane& pane, RoundResults& results) {
    QScrollBar* bar = pane.verticalScrollBar();
    results.Set("scroll_max", bar->maximum());
    results.Set("scroll_top_ms", TimedWithPaint(pane, [&] { bar->setValue(bar->minimum()); }));
    results.Set("scroll_middle_ms", TimedWithPaint(pane, [&] {
                    bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) / 2);
                }));
    results.Set("scroll_end_ms", TimedWithPaint(pane, [&] { bar->setValue(bar->maximum()); }));

    std::vector<double> repaints;
    for (int i = 0; i < 9; ++i) {
        const auto start = Clock::now();
        pane.viewport()->repaint();
        repaints.push_back(MsSince(start));
    }
    results.Set("repaint_ms", Median(repaints));

    // The keyboard moves the text cursor through the whole document.
    pane.setFocus(Qt::OtherFocusReason);
    results.Set("key_ctrl_home_ms",
                TimedWithPaint(pane, [&] { Key(pane, Qt::Key_Home, Qt::ControlModifier); }));
    results.Set("key_page_down_ms",
                TimedWithPaint(pane, [&] { Key(pane, Qt::Key_PageDown, Qt::NoModifier); }));
    results.Set("key_ctrl_end_ms",
                TimedWithPaint(pane, [&] { Key(pane, Qt::Key_End, Qt::ControlModifier); }));
    results.Set("key_page_up_ms",
                TimedWithPaint(pane, [&] { Key(pane, Qt::Key_PageUp, Qt::NoModifier); }));
}

}  // namespace

int RunWindowRound(int argc, char** argv, const WindowRoundOptions& options) {
    QApplication app(argc, argv);
    QTemporaryDir settingsDir;
    int questions = 0;
    int otherContacts = 0;  // beeps and boxes: none may come in a good round
    gui::FormMainHooks hooks;
    hooks.beep = [&] { ++otherContacts; };
    hooks.askYesNo = [&](QWidget*, const QString&, const QString&, const QString&) {
        ++questions;
        return true;
    };
    hooks.showPlainMessage = [&](QWidget*, const QString& text) {
        ++otherContacts;
        std::fprintf(stderr, "window message: %s\n", qPrintable(text));
    };
    hooks.showError = hooks.showPlainMessage;

    gui::TFormMain window(settingsDir.filePath("trevo2KPR.INI"), hooks);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 10000)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    window.findChild<gui::ButtonEdit*>("FE_EPP")->setText(
        QString::fromLocal8Bit(options.exportPath.c_str()));
    window.findChild<QCheckBox*>("ch_sprawdz")->setChecked(true);
    auto* pane = window.findChild<gui::TracePane*>("MemoTrace");
    QAction* convert = window.findChild<QAction*>("act_Konwert");
    QCoreApplication::processEvents();

    RoundResults results;
    results.SetText("platform", QGuiApplication::platformName().toStdString());
    results.Set("rss_before_run_kb", static_cast<double>(CurrentResidentKiB().value_or(0)));
    const bool peakReset = ResetPeakResident();

    const auto start = Clock::now();
    convert->trigger();
    results.Set("run_returned_ms", MsSince(start));
    QCoreApplication::processEvents();
    pane->viewport()->repaint();
    results.Set("run_painted_ms", MsSince(start));

    if (peakReset) {
        results.Set("run_peak_rss_kb", static_cast<double>(PeakResidentKiB().value_or(0)));
    }
    results.Set("rss_after_run_kb", static_cast<double>(CurrentResidentKiB().value_or(0)));
    results.Set("documents", static_cast<double>(window.DocumentCount()));
    results.Set("lines", pane->LineCount());
    results.Set("questions", questions);
    results.Set("other_contacts", otherContacts);

    if (options.compareWithCliTrace.empty()) {
        MeasureAfterRun(*pane, results);
    } else {
        results.Set("trace_matches_cli",
                    PaneMatchesCliTrace(*pane, options.compareWithCliTrace) ? 1 : 0);
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    results.Set("process_max_rss_kb", static_cast<double>(usage.ru_maxrss));
    return results.Write(options.resultPath) ? 0 : 1;
}

}  // namespace trevo::bench

// trevo2KPR: the main window and the message loop. Its own options, --help and --version,
// print and end the program before any window exists.

#include <QApplication>
#include <cstdio>
#include <span>

#include "engine/platform/FileSizeSignal.h"
#include "engine/platform/StandardDescriptors.h"
#include "gui/application/DesktopApplication.h"
#include "gui/application/DesktopCommandLine.h"
#include "gui/mainwindow/frm_Main.h"
#include "qtplatform/TerminationSignals.h"

int main(int argc, char* argv[]) {
    // Before anything opens a file: a free descriptor 0, 1 or 2 would be taken by a ledger file.
    if (!trevo::OpenClosedStandardDescriptors()) {
        return 1;
    }
    trevo::IgnoreFileSizeSignal();
    if (const auto text = trevo::gui::InformationRequested(
            std::span<char* const>(argv, static_cast<std::size_t>(argc)))) {
        const bool written = std::fwrite(text->data(), 1, text->size(), stdout) == text->size();
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
    // Before the application object starts threads, so that none of them takes the signals.
    trevo::qt::TerminationSignals::Block();
    QApplication application(argc, argv);
    trevo::gui::SetUpDesktopApplication(application);
    trevo::gui::TFormMain window;
    trevo::qt::TerminationSignals termination;
    trevo::gui::CloseWindowsOnTermination(termination);
    window.show();
    return application.exec();
}

// trevo2KPR: the main window and the message loop. The program has no options of its own.

#include <QApplication>

#include "engine/platform/FileSizeSignal.h"
#include "engine/platform/StandardDescriptors.h"
#include "gui/application/DesktopApplication.h"
#include "gui/mainwindow/frm_Main.h"
#include "qtplatform/TerminationSignals.h"

int main(int argc, char* argv[]) {
    // Before anything opens a file: a free descriptor 0, 1 or 2 would be taken by a ledger file.
    if (!trevo::OpenClosedStandardDescriptors()) {
        return 1;
    }
    trevo::IgnoreFileSizeSignal();
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

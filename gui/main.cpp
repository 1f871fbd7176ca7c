// trevo2KPR: the main window and the message loop. The program has no options of its own.

#include <QApplication>

#include "engine/platform/StandardDescriptors.h"
#include "gui/mainwindow/frm_Main.h"

int main(int argc, char* argv[]) {
    // Before anything opens a file: a free descriptor 0, 1 or 2 would be taken by a ledger file.
    if (!trevo::OpenClosedStandardDescriptors()) {
        return 1;
    }
    QApplication application(argc, argv);
    trevo::gui::TFormMain window;
    window.show();
    return application.exec();
}

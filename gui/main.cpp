// trevo2KPR: the main window and the message loop. The program has no options of its own.

#include <QApplication>

#include "gui/mainwindow/frm_Main.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    trevo::gui::TFormMain window;
    window.show();
    return application.exec();
}

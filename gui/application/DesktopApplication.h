#pragma once
// What the desktop program tells the desktop about itself, and how it meets a session's end.

class QApplication;

namespace trevo::qt {
class TerminationSignals;
}

namespace trevo::gui {

// The names the desktop shows and finds the program by ("trevo2KPR", the desktop entry
// pl.trevo2kpr.trevo2kpr), the version, the window icon, and Qt's own dialogs in the user's
// language. The message boxes keep their caption, the program file's title.
void SetUpDesktopApplication(QApplication& application);

// A termination signal closes every window as the user would, so that settings are saved; a
// second one ends the program at once.
void CloseWindowsOnTermination(qt::TerminationSignals& termination);

}  // namespace trevo::gui

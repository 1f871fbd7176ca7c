#include "gui/application/DesktopApplication.h"

#include <QApplication>
#include <QIcon>
#include <cstdlib>

#include "qtplatform/QtTranslations.h"
#include "qtplatform/TerminationSignals.h"
#include "version/Version.h"

namespace trevo::gui {

void SetUpDesktopApplication(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("trevo2KPR"));
    QApplication::setOrganizationName(QStringLiteral("trevo2KPR"));
    QApplication::setApplicationVersion(QString::fromUtf8(
        ProgramVersion().data(), static_cast<qsizetype>(ProgramVersion().size())));
    QApplication::setDesktopFileName(QStringLiteral("pl.trevo2kpr.trevo2kpr"));
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/trevo2kpr-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    qt::InstallQtTranslations(application);
}

void CloseWindowsOnTermination(qt::TerminationSignals& termination) {
    QObject::connect(&termination, &qt::TerminationSignals::received, &termination,
                     [](int signalNumber, int count) {
                         if (count > 1) {
                             std::_Exit(128 + signalNumber);
                         }
                         QApplication::closeAllWindows();
                     });
}

}  // namespace trevo::gui

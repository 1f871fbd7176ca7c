#include "gui/settings/SettingsLocation.h"

#include <QCoreApplication>

namespace trevo::gui {

QString DefaultSettingsPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/trevo2KPR.INI");
}

}  // namespace trevo::gui

#include "gui/settings/SettingsLocation.h"

#include <QFile>

#include "desktop/SettingsPlace.h"

namespace trevo::gui {

QString DefaultSettingsPath() {
    return QFile::decodeName(QByteArray::fromStdString(desktop::DefaultSettingsPath()));
}

}  // namespace trevo::gui

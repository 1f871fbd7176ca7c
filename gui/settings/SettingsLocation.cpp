#include "gui/settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "settingsfile/WindowSectionWrite.h"

namespace trevo::gui {

namespace {

const QString kFileName = QStringLiteral("trevo2KPR.INI");
const QString kConfigFolder = QStringLiteral("trevo2KPR");

}  // namespace

QString ChooseSettingsPath(const QString& programDir, const QString& configHome,
                           const SettingsPlaceProbe& probe) {
    const QString beside = programDir + u'/' + kFileName;
    if (probe.exists(beside)) {
        if (probe.writable(beside) || probe.readOnly(beside)) {
            return beside;
        }
    } else if (probe.writable(programDir)) {
        return beside;
    }
    return configHome + u'/' + kConfigFolder + u'/' + kFileName;
}

QString DefaultSettingsPath() {
    const SettingsPlaceProbe probe{
        [](const QString& path) { return QFileInfo::exists(path); },
        // access(2) for the running user, as the write will meet it.
        [](const QString& path) { return QFileInfo(path).isWritable(); },
        [](const QString& path) {
            return settings::IsReadOnlyFile(QFile::encodeName(path).toStdString());
        },
    };
    return ChooseSettingsPath(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), probe);
}

}  // namespace trevo::gui

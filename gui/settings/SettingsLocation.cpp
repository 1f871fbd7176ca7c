#include "gui/settings/SettingsLocation.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "settingsfile/WindowSectionWrite.h"

namespace trevo::gui {

namespace {

const QString kFileName = QStringLiteral("trevo2KPR.INI");
const QString kConfigFolder = QStringLiteral("trevo2KPR");

bool IsSystemFolder(const QString& dir) {
    for (const QLatin1StringView root :
         {QLatin1StringView("/usr"), QLatin1StringView("/bin"), QLatin1StringView("/sbin")}) {
        if (dir == root || (dir.startsWith(root) && dir.at(root.size()) == u'/')) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString ChooseSettingsPath(const QString& programDir, const QString& configHome,
                           const SettingsPlaceProbe& probe) {
    const QString inConfigFolder = configHome + u'/' + kConfigFolder + u'/' + kFileName;
    if (IsSystemFolder(programDir) || !probe.ownedByUser(programDir)) {
        return inConfigFolder;
    }
    const QString beside = programDir + u'/' + kFileName;
    if (probe.exists(beside)) {
        if (probe.writable(beside) || probe.readOnly(beside)) {
            return beside;
        }
    } else if (probe.writable(programDir)) {
        return beside;
    }
    return inConfigFolder;
}

QString DefaultSettingsPath() {
    const SettingsPlaceProbe probe{
        [](const QString& path) { return QFileInfo::exists(path); },
        // access(2) for the running user, as the write will meet it.
        [](const QString& path) { return QFileInfo(path).isWritable(); },
        [](const QString& path) {
            return settings::IsReadOnlyFile(QFile::encodeName(path).toStdString());
        },
        [](const QString& path) {
            const QFileInfo info(path);
            return info.exists() && info.ownerId() == static_cast<uint>(::geteuid());
        },
    };
    return ChooseSettingsPath(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), probe);
}

}  // namespace trevo::gui

#include "qtplatform/ApplicationTitle.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace trevo::gui {

QString ApplicationTitle(const QString& programFilePath) {
    QString name = QFileInfo(programFilePath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0) {
        name.truncate(dot);
    }
    if (name.isEmpty()) {
        return name;
    }
    return name.left(1) + name.mid(1).toLower();
}

QString ApplicationTitle() {
    return ApplicationTitle(QCoreApplication::applicationFilePath());
}

}  // namespace trevo::gui

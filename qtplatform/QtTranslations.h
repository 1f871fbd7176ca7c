#pragma once
// Qt's own texts (standard buttons, file and folder dialogs, shortcut names) in the user's
// language: "Tak"/"Nie" instead of "Yes"/"No" under a Polish locale.

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace trevo::qt {

// Installs Qt's translations ("qtbase") for `locale` from Qt's translations folder into
// `application`, which keeps them. False when there are none for the locale (the texts then
// stay English).
bool InstallQtTranslations(QCoreApplication& application, const QLocale& locale = QLocale());

// Where Qt's translations are looked for.
QString QtTranslationsPath();

}  // namespace trevo::qt

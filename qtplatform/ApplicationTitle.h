#pragma once

#include <QString>

namespace trevo::gui {

// The program file's name without its directory, cut before its first dot, every letter after
// the first in lower case: "trevo2KPR" gives "Trevo2kpr". It captions the plain message boxes.
QString ApplicationTitle(const QString& programFilePath);

// The title of the running program.
QString ApplicationTitle();

}  // namespace trevo::gui

#pragma once

#include <QString>

namespace trevo::gui {

// "trevo2KPR.INI" in the directory of the running program file; the current directory plays
// no part.
QString DefaultSettingsPath();

}  // namespace trevo::gui

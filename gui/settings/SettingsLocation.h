#pragma once
// The settings file of the running program, where desktop/SettingsPlace.h puts it, as the
// toolkit spells a file name.

#include <QString>

namespace trevo::gui {

QString DefaultSettingsPath();

}  // namespace trevo::gui

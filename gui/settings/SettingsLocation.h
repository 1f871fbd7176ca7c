#pragma once

#include <QString>
#include <functional>

namespace trevo::gui {

// What the choice of the settings file's place asks of the file system.
struct SettingsPlaceProbe {
    std::function<bool(const QString& path)> exists;
    // The running user may create files in this directory, or write this file.
    std::function<bool(const QString& path)> writable;
    // A file without any write permission: read, and never written.
    std::function<bool(const QString& path)> readOnly;
};

// "trevo2KPR.INI" beside the program, in `programDir`, when the user can keep it there: the
// directory takes new files (a copied or portable program), or a file already there can be
// written or is marked read-only. Otherwise the same file under the user's configuration
// folder, `configHome`/trevo2KPR/trevo2KPR.INI: a program installed into /usr/bin.
QString ChooseSettingsPath(const QString& programDir, const QString& configHome,
                           const SettingsPlaceProbe& probe);

// The settings file of the running program, by ChooseSettingsPath with the real file system
// and $XDG_CONFIG_HOME (~/.config); the current directory plays no part.
QString DefaultSettingsPath();

}  // namespace trevo::gui

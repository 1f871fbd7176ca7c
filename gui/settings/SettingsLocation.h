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
    // The running (effective) user owns this directory.
    std::function<bool(const QString& path)> ownedByUser;
};

// "trevo2KPR.INI" beside the program, in `programDir`, when the user can keep it there: a
// folder of the user's own (a copied or portable program) that takes new files, or where a
// file already there can be written or is marked read-only. An installed program - its
// folder a system one (/usr, /bin, /sbin and beneath) or another user's - keeps the
// same file under the user's configuration folder, `configHome`/trevo2KPR/trevo2KPR.INI,
// for the superuser too, who could write /usr/bin but must not leave files there that no
// package owns.
QString ChooseSettingsPath(const QString& programDir, const QString& configHome,
                           const SettingsPlaceProbe& probe);

// The settings file of the running program, by ChooseSettingsPath with the real file system
// and $XDG_CONFIG_HOME (~/.config); the current directory plays no part.
QString DefaultSettingsPath();

}  // namespace trevo::gui

#pragma once
// Where "trevo2KPR.INI" lives. Beside the program when the program's folder is the user's own
// (a copied or portable program) and the user can keep the file there; an installed program -
// its folder a system one - keeps the same file under the user's configuration folder:
// `configHome`/trevo2KPR/trevo2KPR.INI ($XDG_CONFIG_HOME on Linux, %APPDATA% on Windows).
//
// Paths are system paths, UTF-8 on every platform (engine/files' SystemPath): the settings
// file is named by the system, not typed by the user, and on Windows it becomes UTF-16 at the
// file layer's wide calls like any other system path, so a folder with letters outside
// Windows-1250 still works.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trevo::desktop {

inline constexpr std::string_view kSettingsFileName = "trevo2KPR.INI";
inline constexpr std::string_view kSettingsFolderName = "trevo2KPR";

// What the choice asks of the file system.
struct SettingsPlaceProbe {
    std::function<bool(const std::string& path)> exists;
    // The running user may create files in this directory, or write this file.
    std::function<bool(const std::string& path)> writable;
    // A file without any write permission (on Windows: the read-only attribute): read, and
    // never written.
    std::function<bool(const std::string& path)> readOnly;
    // The running (effective) user owns this directory; always true on Windows, where the
    // folder's access rules alone decide.
    std::function<bool(const std::string& path)> ownedByUser;
};

// The folders whose programs are installed ones: each root and everything beneath it.
struct SystemFolders {
    std::vector<std::string> roots;
    // Windows: '\' and '/' both separate and letter case does not count.
    bool windowsNames = false;
};

// POSIX: /usr, /bin and /sbin.
SystemFolders PosixSystemFolders();
// Windows: the Program Files folders (64- and 32-bit) and the Windows folder, as the system
// names them (SHGetKnownFolderPath); the arguments are those paths.
SystemFolders WindowsSystemFolders(std::vector<std::string> roots);

// The choice itself: beside the program (`programDir` + separator + kSettingsFileName) when
// `programDir` is no system folder, the user owns it, and either it takes new files and holds
// no settings file, or a settings file is there that the user can write or that is read-only
// (it stays in charge, read and never written); otherwise
// `configHome` + separator + kSettingsFolderName + separator + kSettingsFileName. The separator
// is '\' for Windows names, '/' otherwise. Wine lets anybody write Program Files: the system
// folder test is what makes an installed program use %APPDATA% there.
std::string ChooseSettingsPath(const std::string& programDir, const std::string& configHome,
                               const SettingsPlaceProbe& probe, const SystemFolders& system);

// The settings file of the running program, by ChooseSettingsPath with the real file system;
// the current directory plays no part. One implementation per platform:
// - POSIX (SettingsPlacePosix.cpp): the folder of /proc/self/exe; $XDG_CONFIG_HOME when it is
//   an absolute path, else $HOME/.config (the password database's home without $HOME).
// - Windows (SettingsPlaceWindows.cpp): the folder of GetModuleFileNameW's .exe; %APPDATA% as
//   SHGetKnownFolderPath(FOLDERID_RoamingAppData) gives it; system folders as above; "takes
//   files" is tried by creating and removing a file, since access rights are not mode bits.
std::string DefaultSettingsPath();

}  // namespace trevo::desktop

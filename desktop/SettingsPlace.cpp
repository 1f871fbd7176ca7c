#include "desktop/SettingsPlace.h"

#include <algorithm>

namespace trevo::desktop {

namespace {

bool IsSeparator(char c, const SystemFolders& system) {
    return c == '/' || (system.windowsNames && c == '\\');
}

bool SameLetter(char a, char b, const SystemFolders& system) {
    if (!system.windowsNames) {
        return a == b;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(a) == lower(b) || (IsSeparator(a, system) && IsSeparator(b, system));
}

// `dir` is `root` or lies beneath it.
bool IsWithin(std::string_view dir, std::string_view root, const SystemFolders& system) {
    while (!root.empty() && IsSeparator(root.back(), system)) {
        root.remove_suffix(1);
    }
    if (root.empty() || dir.size() < root.size() ||
        !std::equal(root.begin(), root.end(), dir.begin(),
                    [&](char a, char b) { return SameLetter(a, b, system); })) {
        return false;
    }
    return dir.size() == root.size() || IsSeparator(dir[root.size()], system);
}

}  // namespace

SystemFolders PosixSystemFolders() {
    return {{"/usr", "/bin", "/sbin"}, false};
}

SystemFolders WindowsSystemFolders(std::vector<std::string> roots) {
    return {std::move(roots), true};
}

std::string ChooseSettingsPath(const std::string& programDir, const std::string& configHome,
                               const SettingsPlaceProbe& probe, const SystemFolders& system) {
    const std::string separator = system.windowsNames ? "\\" : "/";
    const std::string inConfigFolder = configHome + separator + std::string(kSettingsFolderName) +
                                       separator + std::string(kSettingsFileName);
    const bool installed =
        std::any_of(system.roots.begin(), system.roots.end(),
                    [&](const std::string& root) { return IsWithin(programDir, root, system); });
    if (installed || !probe.ownedByUser(programDir)) {
        return inConfigFolder;
    }
    std::string beside = programDir;
    if (beside.empty() || !IsSeparator(beside.back(), system)) {
        beside += separator;
    }
    beside += kSettingsFileName;
    if (probe.exists(beside)) {
        if (probe.writable(beside) || probe.readOnly(beside)) {
            return beside;
        }
    } else if (probe.writable(programDir)) {
        return beside;
    }
    return inConfigFolder;
}

}  // namespace trevo::desktop

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/SettingsPlace.h"
#include "settingsfile/WindowSectionWrite.h"

namespace trevo::desktop {

namespace {

// The folder of the running program file; empty when the system does not say.
std::string ProgramDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(length));
            const auto slash = path.rfind('/');
            return slash == std::string::npos ? std::string()
                                              : path.substr(0, slash > 0 ? slash : 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return "/";
}

std::string ConfigHome() {
    // A relative $XDG_CONFIG_HOME is invalid and ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME");
        config != nullptr && config[0] == '/') {
        return config;
    }
    std::string home = HomeDirectory();
    if (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    return (home == "/" ? std::string() : home) + "/.config";
}

}  // namespace

std::string DefaultSettingsPath() {
    const SettingsPlaceProbe probe{
        [](const std::string& path) {
            struct stat info {};
            return ::stat(path.c_str(), &info) == 0;
        },
        // For the running (effective) user, as the write will meet it.
        [](const std::string& path) {
            return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
        },
        [](const std::string& path) { return settings::IsReadOnlyFile(path); },
        [](const std::string& path) {
            struct stat info {};
            return !path.empty() && ::stat(path.c_str(), &info) == 0 && info.st_uid == ::geteuid();
        },
    };
    return ChooseSettingsPath(ProgramDirectory(), ConfigHome(), probe, PosixSystemFolders());
}

}  // namespace trevo::desktop

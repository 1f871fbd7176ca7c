#include "cli/OutputFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/files/FileSystem.h"
#include "engine/journal/JournalFormat.h"

namespace trevo::cli {

namespace {

struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> IdOf(const std::string& path, bool followLink) {
    struct stat info {};
    const int got = followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    return got == 0 ? std::optional(FileId{info.st_dev, info.st_ino}) : std::nullopt;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "<digits>ORMEK.<digits>" in any case, leading zeros allowed: whatever the ledger program
// (on a file system that ignores case) could take for a period file.
bool LooksLikePeriodFile(const std::string& name) {
    const auto dot = name.find('.');
    if (dot == std::string::npos || dot < 6) {
        return false;
    }
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    std::string infix = name.substr(dot - 5, 5);
    for (char& c : infix) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::string_view view(name);
    return infix == "ORMEK" && digits(view.substr(0, dot - 5)) && digits(view.substr(dot + 1));
}

bool IsJournalName(const std::string& name) {
    return name == journal::kDirectoryName;
}

// The identities of the entries of `directory` that `wanted` accepts (all when none given).
std::vector<FileId> EntryIds(const std::string& directory, bool (*wanted)(const std::string&)) {
    std::vector<FileId> ids;
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        return ids;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || (wanted != nullptr && !wanted(name))) {
            continue;
        }
        if (const auto id = IdOf(directory + "/" + name, false)) {
            ids.push_back(*id);
        }
    }
    ::closedir(dir);
    return ids;
}

bool Contains(const std::vector<FileId>& ids, const FileId& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Why a regular file (or a new name) must not be replaced by the summary; nothing when it may.
std::optional<std::string> RefusalForFile(const std::string& path, bool exists,
                                          const ProtectedFiles& protect) {
    const std::string directory = DirectoryOf(path);
    const auto directoryId = IdOf(directory, true);
    struct stat dirInfo {};
    if (!directoryId || ::stat(directory.c_str(), &dirInfo) != 0 || !S_ISDIR(dirInfo.st_mode)) {
        return "katalog \"" + directory + "\" nie istnieje";
    }
    const auto id = exists ? IdOf(path, false) : std::nullopt;
    if (id && id == IdOf(protect.exportFile, true)) {
        return "to plik eksportu";
    }
    // Replacing the file the trace goes to would take the trace's name away from it.
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat standard {};
        if (id && ::fstat(fd, &standard) == 0 && *id == FileId{standard.st_dev, standard.st_ino}) {
            return "to plik standardowego wyjścia (ślad trafia do niego; użyj '-')";
        }
    }
    if (protect.ledgerDir) {
        const std::string journalDir =
            *protect.ledgerDir + "/" + std::string(journal::kDirectoryName);
        const auto ledgerId = IdOf(*protect.ledgerDir, true);
        const auto journalId = IdOf(journalDir, true);
        const std::string name = BaseName(path);
        if (journalId && directoryId == journalId) {
            return "to katalog dziennika przebiegów";
        }
        if (ledgerId && directoryId == ledgerId &&
            (LooksLikePeriodFile(name) || IsJournalName(name))) {
            return "to nazwa pliku okresu KPR w katalogu danych";
        }
        if (id && Contains(EntryIds(*protect.ledgerDir, LooksLikePeriodFile), *id)) {
            return "to plik okresu KPR";
        }
        if (id && Contains(EntryIds(journalDir, nullptr), *id)) {
            return "to plik dziennika przebiegów";
        }
    }
    if (exists && LocalFileSystem().IsReadOnlyFile({path})) {
        return "plik jest tylko do odczytu";
    }
    return std::nullopt;
}

bool IsStream(mode_t mode) {
    return S_ISCHR(mode) || S_ISFIFO(mode);
}

bool WriteAll(int fd, std::string_view bytes, std::string& error) {
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            error = std::strerror(wrote < 0 ? errno : EIO);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error) {
    struct stat old {};
    const mode_t mode = ::lstat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    // A hidden name beside the file: never one the ledger program could take for its own.
    std::string pattern = DirectoryOf(path) + "/." + BaseName(path) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const std::string temporary(name.data());
    bool written = ::fchmod(fd, mode) == 0 || (error = std::strerror(errno), false);
    written = written && WriteAll(fd, bytes, error);
    if (::close(fd) != 0 && written) {
        error = std::strerror(errno);
        written = false;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        written = false;
    }
    if (!written) {
        ::unlink(temporary.c_str());
    }
    return written;
}

}  // namespace

std::variant<SummaryJsonTarget, std::string> SummaryJsonTarget::Choose(
    const std::string& name, const ProtectedFiles& protect) {
    if (name == "-") {
        return SummaryJsonTarget(Kind::Stdout, name, protect, -1);
    }
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            return std::string(std::strerror(errno));
        }
        if (auto refusal = RefusalForFile(name, false, protect)) {
            return *refusal;
        }
        return SummaryJsonTarget(Kind::Replace, name, protect, -1);
    }
    if (S_ISREG(info.st_mode)) {
        if (auto refusal = RefusalForFile(name, true, protect)) {
            return *refusal;
        }
        return SummaryJsonTarget(Kind::Replace, name, protect, -1);
    }
    const bool link = S_ISLNK(info.st_mode);
    if (link && ::stat(name.c_str(), &info) != 0) {
        return std::string("dowiązanie symboliczne nie prowadzi do pliku");
    }
    if (!IsStream(info.st_mode)) {
        return std::string(link ? "dowiązanie symboliczne (podaj sam plik albo '-')"
                                : "to nie jest zwykły plik, urządzenie znakowe ani kolejka FIFO");
    }
    // Opened now, so that what is written after the run is what was judged.
    const int fd = ::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    struct stat opened {};
    if (fd < 0) {
        return std::string(std::strerror(errno));
    }
    if (::fstat(fd, &opened) != 0 || !IsStream(opened.st_mode)) {
        ::close(fd);
        return std::string("plik zmienił się podczas otwierania");
    }
    return SummaryJsonTarget(Kind::Stream, name, protect, fd);
}

SummaryJsonTarget::SummaryJsonTarget(SummaryJsonTarget&& other) noexcept
    : kind_(other.kind_),
      path_(std::move(other.path_)),
      protect_(std::move(other.protect_)),
      fd_(std::exchange(other.fd_, -1)) {}

SummaryJsonTarget::~SummaryJsonTarget() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool SummaryJsonTarget::Write(std::string_view bytes, std::string& error) {
    switch (kind_) {
        case Kind::Stdout:
            return WriteAll(STDOUT_FILENO, bytes, error);
        case Kind::Stream: {
            bool written = WriteAll(fd_, bytes, error);
            if (::close(std::exchange(fd_, -1)) != 0 && written) {
                error = std::strerror(errno);
                written = false;
            }
            return written;
        }
        case Kind::Replace:
            break;
    }
    struct stat info {};
    const bool exists = ::lstat(path_.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        error = "plik zmienił się w trakcie przebiegu";
        return false;
    }
    if (auto refusal = RefusalForFile(path_, exists, protect_)) {
        error = *refusal;
        return false;
    }
    return ReplaceFile(path_, bytes, error);
}

}  // namespace trevo::cli

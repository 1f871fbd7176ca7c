#include "cli/OpenFailure.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <system_error>

#include "engine/files/FileFailureReason.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

std::string OpenErrorText(int errorNumber) {
    return text::Win1250ToUtf8(
        FileFailureReason(std::error_code(errorNumber, std::generic_category())));
}

// Asked for a directory, found something else at the name.
constexpr const char* kNotADirectory = "to nie jest katalog";

OpenFailure DiagnoseOpenFailure(const std::string& path, ExpectedKind expected) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        return {error == ENOENT, OpenErrorText(error)};
    }
    const bool directory = S_ISDIR(status.st_mode);
    if (expected == ExpectedKind::File && directory) {
        return {false, OpenErrorText(EISDIR)};
    }
    if (expected == ExpectedKind::Directory && !directory) {
        return {false, kNotADirectory};
    }
    const int descriptor =
        ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK |
                                 (expected == ExpectedKind::Directory ? O_DIRECTORY : 0));
    if (descriptor < 0) {
        return {false, OpenErrorText(errno)};
    }
    ::close(descriptor);
    if (expected == ExpectedKind::File && !S_ISREG(status.st_mode)) {
        return {false, "to nie jest zwykły plik"};
    }
    return {};
}

std::string MissingOrWhy(const std::string& path, ExpectedKind expected, const std::string& message,
                         const std::string& prefix) {
    const OpenFailure failure = DiagnoseOpenFailure(path, expected);
    if (failure.missing) {
        return message;
    }
    return failure.reason.empty() ? prefix : prefix + ": " + failure.reason;
}

std::string CannotReadMessage(const std::string& path, ExpectedKind expected) {
    const std::string what = std::string("nie można odczytać ") +
                             (expected == ExpectedKind::File ? "pliku \"" : "katalogu \"") + path +
                             "\"";
    return MissingOrWhy(path, expected, what + ": " + OpenErrorText(ENOENT), what);
}

std::string LedgerDirectoryFailure(const std::string& path) {
    const std::string quoted = "\"" + path + "\"";
    return MissingOrWhy(path, ExpectedKind::Directory,
                        "katalog danych KPR " + quoted + " nie istnieje",
                        "nie można otworzyć katalogu danych KPR " + quoted);
}

}  // namespace trevo::cli

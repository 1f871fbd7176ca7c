#include "cli/OpenFailure.h"

#include <cerrno>
#include <system_error>

#include "engine/files/FileFailureReason.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

std::string ReasonText(std::error_code error) {
    return text::Win1250ToUtf8(FileFailureReason(error));
}

std::string OpenErrorText(int errorNumber) {
    return ReasonText(std::error_code(errorNumber, std::generic_category()));
}

// Asked for a directory, found something else at the name.
constexpr const char* kNotADirectory = "to nie jest katalog";

OpenFailure DiagnoseOpenFailure(const std::string& path, ExpectedKind expected, NamedFiles& files) {
    const NameLookup lookup = files.Status(path, true);
    if (lookup.error) {
        return {false, ReasonText(lookup.error)};
    }
    const NameKind kind = lookup.status.kind;
    if (kind == NameKind::Missing) {
        return {true, OpenErrorText(ENOENT)};
    }
    const bool directory = kind == NameKind::Directory;
    if (expected == ExpectedKind::File && directory) {
        return {false, OpenErrorText(EISDIR)};
    }
    if (expected == ExpectedKind::Directory && !directory) {
        return {false, kNotADirectory};
    }
    if (const std::error_code error = files.TryOpen(path, directory)) {
        return {false, ReasonText(error)};
    }
    if (expected == ExpectedKind::File && kind != NameKind::RegularFile) {
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

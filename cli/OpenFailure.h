#pragma once
// Why a path the command line was given could not be opened, in Polish, for the command line's
// own messages. The engine reports only that an open failed; the reason is found by looking at
// the path again.

#include <string>
#include <system_error>

#include "engine/files/NamedFiles.h"

namespace trevo::cli {

enum class ExpectedKind { File, Directory };

struct OpenFailure {
    bool missing = false;  // nothing at that name
    std::string reason;    // UTF-8, e.g. "brak uprawnień"; empty when the path opens now
};

OpenFailure DiagnoseOpenFailure(const std::string& path, ExpectedKind expected,
                                NamedFiles& files = LocalNamedFiles());

// The Polish words for a failed file operation (the file layer's one table), UTF-8.
std::string ReasonText(std::error_code error);
// The same for an errno value of a failed open.
std::string OpenErrorText(int errorNumber);

// `message` ("katalog danych KPR \"X\" nie istnieje") when nothing is at `path`; otherwise
// `prefix` ("nie można otworzyć katalogu danych KPR \"X\"") with the reason after a colon.
// UTF-8.
std::string MissingOrWhy(const std::string& path, ExpectedKind expected, const std::string& message,
                         const std::string& prefix);

// "nie można odczytać pliku \"X\": <reason>" for a file, "... katalogu ..." for a directory;
// the reason is "nie ma takiego pliku ani katalogu" when nothing is there. UTF-8.
std::string CannotReadMessage(const std::string& path, ExpectedKind expected);

// For a ledger directory that is not there or cannot be opened, UTF-8: "katalog danych KPR
// \"X\" nie istnieje" or "nie można otworzyć katalogu danych KPR \"X\": <reason>".
std::string LedgerDirectoryFailure(const std::string& path);

}  // namespace trevo::cli

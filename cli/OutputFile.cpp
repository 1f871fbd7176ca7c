#include "cli/OutputFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "cli/ConsoleOutput.h"
#include "cli/OpenFailure.h"
#include "engine/journal/JournalFormat.h"

namespace trevo::cli {

namespace {

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

// In any case too, for the same reason: the run could not make its journal there.
bool IsJournalName(const std::string& name) {
    return std::equal(name.begin(), name.end(), journal::kDirectoryName.begin(),
                      journal::kDirectoryName.end(), [](char a, char b) {
                          return std::toupper(static_cast<unsigned char>(a)) ==
                                 std::toupper(static_cast<unsigned char>(b));
                      });
}

FileIdentity IdentityOf(NamedFiles& files, const std::string& path, bool followLink) {
    const NameLookup lookup = files.Status(path, followLink);
    return lookup.error ? FileIdentity() : lookup.status.identity;
}

// The identities of the entries of `directory` that `wanted` accepts (all when none given).
std::vector<FileIdentity> EntryIds(NamedFiles& files, const std::string& directory,
                                   bool (*wanted)(const std::string&)) {
    std::vector<FileIdentity> ids;
    for (const std::string& name : files.Names(directory).value_or(std::vector<std::string>())) {
        if (wanted != nullptr && !wanted(name)) {
            continue;
        }
        if (const FileIdentity id = IdentityOf(files, files.Join(directory, name), false);
            id.known) {
            ids.push_back(id);
        }
    }
    return ids;
}

bool Contains(const std::vector<FileIdentity>& ids, const FileIdentity& id) {
    return std::any_of(ids.begin(), ids.end(),
                       [&id](const FileIdentity& other) { return SameFile(id, other); });
}

// Why a regular file (or a new name) must not be replaced by the summary; nothing when it may.
std::optional<std::string> RefusalForFile(NamedFiles& files, const std::string& path,
                                          const NameStatus& status, const ProtectedFiles& protect) {
    const bool exists = status.kind != NameKind::Missing;
    const PathParts parts = files.Split(path);
    const NameLookup directory = files.Status(parts.directory, true);
    if (directory.error || directory.status.kind != NameKind::Directory) {
        return "katalog \"" + parts.directory + "\" nie istnieje";
    }
    const auto directoryId = directory.status.identity;
    const FileIdentity id = exists ? status.identity : FileIdentity();
    if (SameFile(id, IdentityOf(files, protect.exportFile, true))) {
        return "to plik eksportu";
    }
    // Replacing the file the trace goes to would take the trace's name away from it.
    for (const int stream : {1, 2}) {
        if (SameFile(id, files.StandardStreamIdentity(stream))) {
            return "to plik standardowego wyjścia (ślad trafia do niego; użyj '-')";
        }
    }
    if (protect.ledgerDir) {
        const std::string journalDir =
            files.Join(*protect.ledgerDir, std::string(journal::kDirectoryName));
        const auto ledgerId = IdentityOf(files, *protect.ledgerDir, true);
        const auto journalId = IdentityOf(files, journalDir, true);
        if (SameFile(journalId, directoryId)) {
            return "to katalog dziennika przebiegów";
        }
        if (SameFile(ledgerId, directoryId) &&
            (LooksLikePeriodFile(parts.name) || IsJournalName(parts.name))) {
            return "to nazwa pliku okresu KPR w katalogu danych";
        }
        if (id.known && Contains(EntryIds(files, *protect.ledgerDir, LooksLikePeriodFile), id)) {
            return "to plik okresu KPR";
        }
        if (id.known && Contains(EntryIds(files, journalDir, nullptr), id)) {
            return "to plik dziennika przebiegów";
        }
    }
    if (exists && status.readOnly) {
        return "plik jest tylko do odczytu";
    }
    return std::nullopt;
}

}  // namespace

std::variant<SummaryJsonTarget, std::string> SummaryJsonTarget::Choose(
    const std::string& name, const ProtectedFiles& protect, NamedFiles& files) {
    if (name == "-") {
        return SummaryJsonTarget(Kind::Stdout, name, protect, files, nullptr);
    }
    const NameLookup lookup = files.Status(name, false);
    if (lookup.error) {
        return ReasonText(lookup.error);
    }
    NameStatus status = lookup.status;
    if (status.kind == NameKind::Missing || status.kind == NameKind::RegularFile) {
        if (auto refusal = RefusalForFile(files, name, status, protect)) {
            return *refusal;
        }
        return SummaryJsonTarget(Kind::Replace, name, protect, files, nullptr);
    }
    const bool link = status.kind == NameKind::Link;
    if (link) {
        const NameLookup target = files.Status(name, true);
        if (target.error || target.status.kind == NameKind::Missing) {
            return std::string("dowiązanie symboliczne nie prowadzi do pliku");
        }
        status = target.status;
    }
    if (status.kind != NameKind::Stream) {
        return std::string(link ? "dowiązanie symboliczne (podaj sam plik albo '-')"
                                : "to nie jest zwykły plik, urządzenie znakowe ani kolejka FIFO");
    }
    // Opened now, so that what is written after the run is what was judged.
    OutputStreamOpen opened = files.OpenStream(name);
    if (!opened.stream) {
        return opened.error == std::errc::not_supported
                   ? std::string("plik zmienił się podczas otwierania")
                   : ReasonText(opened.error);
    }
    return SummaryJsonTarget(Kind::Stream, name, protect, files, std::move(opened.stream));
}

SummaryJsonTarget::SummaryJsonTarget(Kind kind, std::string path, ProtectedFiles protect,
                                     NamedFiles& files, std::unique_ptr<OutputStream> stream)
    : kind_(kind),
      path_(std::move(path)),
      protect_(std::move(protect)),
      files_(&files),
      stream_(std::move(stream)) {}

SummaryJsonTarget::SummaryJsonTarget(SummaryJsonTarget&& other) noexcept = default;
SummaryJsonTarget::~SummaryJsonTarget() = default;

bool SummaryJsonTarget::Write(std::string_view bytes, std::string& error) {
    switch (kind_) {
        case Kind::Stdout:
            errno = 0;
            if (!WriteText(stdout, bytes) || std::fflush(stdout) != 0) {
                error = std::generic_category().message(errno != 0 ? errno : EIO);
                return false;
            }
            return true;
        case Kind::Stream: {
            std::error_code failed = stream_->Write(bytes);
            const std::error_code closed = stream_->Close();
            stream_.reset();
            failed = failed ? failed : closed;
            if (failed) {
                error = ReasonText(failed);
            }
            return !failed;
        }
        case Kind::Replace:
            break;
    }
    const NameLookup lookup = files_->Status(path_, false);
    const NameKind kind = lookup.status.kind;
    if (lookup.error || (kind != NameKind::Missing && kind != NameKind::RegularFile)) {
        error = "plik zmienił się w trakcie przebiegu";
        return false;
    }
    if (auto refusal = RefusalForFile(*files_, path_, lookup.status, protect_)) {
        error = *refusal;
        return false;
    }
    if (const std::error_code failed = files_->ReplaceFile(path_, bytes)) {
        error = ReasonText(failed);
        return false;
    }
    return true;
}

}  // namespace trevo::cli

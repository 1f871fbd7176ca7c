#pragma once
// Where `convert --summary-json NAME` writes the summary. The name is judged before the run, so
// that a refused one books nothing:
// - "-": standard output, after the trace's last line;
// - a character device or a FIFO, or a symbolic link to one (/dev/stdout, /dev/null, a pipe;
//   on Windows NUL, CON, a named pipe): opened before the run and written after it, never
//   replaced;
// - a regular file, or a new name in an existing directory: replaced in one step (a new file
//   beside it, renamed over it), so a reader never sees half of it; but never the export, a
//   period file of the ledger directory (any name "<year>ORMEK.<month>" there, or a link to one
//   anywhere, compared by file identity), the run's journal directory or a file in it, the
//   file standard output or standard error goes to, nor a read-only file;
// - anything else (a directory, a block device, a socket, a symbolic link to a regular file or
//   to nothing, on Windows any reparse point, a name in a missing directory) is refused.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "engine/files/NamedFiles.h"

namespace trevo::cli {

// The files a summary must never take the place of; paths in UTF-8, as the system spells them.
struct ProtectedFiles {
    std::string exportFile;
    std::optional<std::string> ledgerDir;
};

class SummaryJsonTarget {
  public:
    // The target for `name` (UTF-8), or the reason (Polish, UTF-8) why it is refused.
    static std::variant<SummaryJsonTarget, std::string> Choose(
        const std::string& name, const ProtectedFiles& protect,
        NamedFiles& files = LocalNamedFiles());

    SummaryJsonTarget(SummaryJsonTarget&& other) noexcept;
    SummaryJsonTarget& operator=(SummaryJsonTarget&&) = delete;
    SummaryJsonTarget(const SummaryJsonTarget&) = delete;
    ~SummaryJsonTarget();

    // Writes `bytes` whole. A regular file is judged again first: the run may have made period
    // files and a journal since. False, with the reason in `error` (UTF-8), on failure.
    bool Write(std::string_view bytes, std::string& error);

  private:
    enum class Kind { Stdout, Stream, Replace };
    SummaryJsonTarget(Kind kind, std::string path, ProtectedFiles protect, NamedFiles& files,
                      std::unique_ptr<OutputStream> stream);

    Kind kind_;
    std::string path_;
    ProtectedFiles protect_;
    NamedFiles* files_;                     // not owned: outlives the target
    std::unique_ptr<OutputStream> stream_;  // the open stream
};

}  // namespace trevo::cli

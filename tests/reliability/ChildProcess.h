#pragma once
// Runs part of a test in a forked child: as an unprivileged user, under a file size limit, or in
// a mount namespace of its own. The child reports back through a pipe.

#include <functional>
#include <string>
#include <vector>

namespace trevo::reliability {

// Exit code of a child whose setting could not be made (no permission to drop privileges or
// to mount): the test is skipped, not failed.
inline constexpr int kChildCannotSetUp = 77;

struct ChildResult {
    int exitCode = -1;  // -1 when the child did not exit normally
    std::string output;
};

// Forks, runs `body` in the child with a string to fill, and collects that string and the exit
// code. `body` must not use test assertions: the parent checks what it reports.
ChildResult RunInChild(const std::function<int(std::string& output)>& body);

// The user a root test process drops to.
struct UnprivilegedUser {
    unsigned uid = 0;
    unsigned gid = 0;
};
bool IsRoot();
UnprivilegedUser Nobody();

// In the child: as root, become `nobody` (no supplementary groups); otherwise stay as is.
// False when it could not be done.
bool DropPrivileges();

// In the child: a fresh, private mount namespace (for root directly, for a normal user inside a
// user namespace of its own), then a tmpfs of `sizeBytes` on `dir`. False when not permitted.
bool MountSmallTmpfs(const std::string& dir, unsigned long sizeBytes);

// Lines, each with a length prefix, so that any bytes survive the pipe.
void AppendLines(std::string& out, const std::vector<std::string>& lines);
void AppendBlob(std::string& out, const std::string& bytes);

class BlobReader {
  public:
    explicit BlobReader(const std::string& bytes) : bytes_(bytes) {}
    std::string Blob();
    std::vector<std::string> Lines();
    bool AtEnd() const { return pos_ >= bytes_.size(); }

  private:
    const std::string& bytes_;
    std::size_t pos_ = 0;
};

}  // namespace trevo::reliability

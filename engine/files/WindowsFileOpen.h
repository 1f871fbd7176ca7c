#pragma once
// Opening a file by its extended name with the share mode each use needs, and the checks that
// every open of this system makes on the handle it got: a reparse point that stands for
// another name (symbolic link, junction) is refused where links are, as are directories,
// devices and pipes, and a file with the read-only attribute where it would be written. The
// checks look at the opened handle, not at the name again, so a name changed in between cannot
// slip past them.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/files/FileResult.h"
#include "engine/files/WindowsHandle.h"

namespace trevo::windows {

// Others may read and write alongside (the ledger program does), but neither rename nor delete
// the file while it is open.
inline constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

struct OpenRequest {
    DWORD access = GENERIC_READ;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;  // of a file created
    DWORD share = kShareReadWrite;
    DWORD disposition = OPEN_EXISTING;
    DWORD flags = 0;
    bool refuseLinks = true;      // a symbolic link or junction at the name: FileErrc::IsLink
    bool refuseReadOnly = false;  // the read-only attribute: FileErrc::ReadOnly
};

FileResult<Handle> OpenRegularFile(const std::wstring& name, const OpenRequest& request);

// A directory, for holding or listing; links at the name refused when asked.
FileResult<Handle> OpenDirectoryHandle(const std::wstring& name, DWORD access, DWORD share,
                                       bool refuseLinks);

// What the file system numbers the file by, the same for every handle of one file on one
// volume; on NTFS it carries a sequence number, so a file made later in the same place has
// another. (The volume's serial number is left out: the system asks the volume for it, which
// costs milliseconds under some emulations, and one emulation answers 0 for a handle whose
// file was renamed. Two files compared here are looked up by names in one directory.)
FileResult<std::uint64_t> FileIndex(HANDLE handle);

struct Attributes {
    DWORD attributes = 0;
    DWORD reparseTag = 0;
};
FileResult<Attributes> AttributesOf(HANDLE handle);

// The path the handle stands for now, links resolved ("\\?\" form); nothing when the system
// cannot tell.
std::optional<std::wstring> FinalPath(HANDLE handle);

// A reparse point that names another place (symbolic link, junction, mount point). Other
// reparse points (deduplicated or cloud files) hold the file's own data and are no links.
bool IsNameSurrogate(DWORD attributes, DWORD reparseTag);

}  // namespace trevo::windows

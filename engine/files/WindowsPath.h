#pragma once
// Paths at the boundary to the wide Win32 calls: the engine's Windows-1250 text (or a
// SystemPath's UTF-8) becomes UTF-16 here and nowhere else, and every path handed to the
// system is absolute with the "\\?\" prefix, so that names beyond 260 characters work and no
// call shortens or reinterprets them further.

#include <optional>
#include <string>
#include <string_view>

#include "engine/files/FileResult.h"

namespace trevo::windows {

// UTF-16 of Windows-1250 text; an error for a NUL inside the text (the system would cut the
// name there) or a byte the code page does not define.
FileResult<std::wstring> FromWin1250(std::string_view text);
// UTF-16 of UTF-8 text; an error for a NUL or invalid UTF-8.
FileResult<std::wstring> FromUtf8(std::string_view text);
// Back to the engine's text: nothing when a character has no Windows-1250 byte (such a name
// is no file of the ledger).
std::optional<std::string> ToWin1250(std::wstring_view text);
std::string ToUtf8(std::wstring_view text);

// The absolute form of `path` (made against the current directory, "." and ".." resolved,
// '/' taken as '\'), prefixed "\\?\" (or "\\?\UNC\" for a share). A path that already has a
// "\\?\" prefix is kept as it is but for doubled separators; a "\\.\" one (a device) wholly.
FileResult<std::wstring> Extended(const std::wstring& path);

// Both steps: what the file calls take.
FileResult<std::wstring> SystemName(std::string_view win1250Path);
FileResult<std::wstring> SystemNameOfUtf8(std::string_view utf8Path);

// `directory` (an extended path) joined with one name within it; an error for a name that
// would leave it or name a stream ("", ".", "..", a separator or a colon).
FileResult<std::wstring> Within(const std::wstring& directory, std::string_view win1250Name);

// Without the "\\?\" prefix, for showing and for SystemPaths given back.
std::wstring WithoutPrefix(const std::wstring& path);

}  // namespace trevo::windows

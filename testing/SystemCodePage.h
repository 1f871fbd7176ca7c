#pragma once
// The operating system's own tables of the code pages the engine converts (iconv on Linux,
// Windows' code pages on Windows): independent of the engine's, to check them against.

#include <optional>
#include <string>

namespace trevo::testing {

enum class SystemCodePage { Windows1250, Cp852, Iso8859_2 };

// The UTF-8 of `bytes` in `codePage`; nothing when a byte is undefined there.
std::optional<std::string> SystemDecode(const std::string& bytes, SystemCodePage codePage);
// `utf8` in `codePage`; nothing when a character has no byte there.
std::optional<std::string> SystemEncode(const std::string& utf8, SystemCodePage codePage);

}  // namespace trevo::testing

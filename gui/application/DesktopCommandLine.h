#pragma once
// The desktop program's own options, read before Qt sees the command line, so that asking for
// the version or the help opens no window and needs no display.

#include <optional>
#include <span>
#include <string>

namespace trevo::gui {

// The text to print instead of starting, for --help (-h) or --version (-V) anywhere before a
// "--"; nothing otherwise, and every other argument is left to Qt (-platform, -style, ...).
std::optional<std::string> InformationRequested(std::span<char* const> args);

}  // namespace trevo::gui

#pragma once
// A line of the command line's own for stderr: "trevo2kpr-cli COMMAND: …".

#include <string>
#include <string_view>

namespace trevo::cli {

// In UTF-8, without a line end. `sentence` is one of the engine's Windows-1250 messages, worded
// as a sentence for the windows; after the prefix it goes on in lower case ("Uwaga: …" becomes
// "trevo2kpr-cli undo: uwaga: …").
std::string DiagnosticLine(std::string_view command, const std::string& sentence);

}  // namespace trevo::cli

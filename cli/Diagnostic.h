#pragma once
// A line of the command line's own on stderr: "trevo2kpr-cli COMMAND: …", in UTF-8.

#include <string>
#include <string_view>

namespace trevo::cli {

// `sentence` is one of the engine's Windows-1250 messages, worded as a sentence for the windows;
// after the prefix it goes on in lower case ("Uwaga: …" becomes "trevo2kpr-cli undo: uwaga: …").
void PrintDiagnostic(std::string_view command, const std::string& sentence);

}  // namespace trevo::cli

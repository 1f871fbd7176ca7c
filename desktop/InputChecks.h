#pragma once
// The checks before a conversion or an undo: which box holds what a run cannot use, and why, in
// words for the status bar. Texts come as the user typed them, in UTF-8; the engine names files
// in Windows-1250, so a path with a character outside it names no file the user meant.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trevo {
class DirectoryStore;
}  // namespace trevo

namespace trevo::desktop {

enum class InputBox : std::uint8_t { ExportFile, LedgerDirectory, AttributeLetter, RegisterLetter };

struct InputRefusal {
    InputBox box;
    // UTF-8, Polish: the box's caption, the reason, then the path or letter.
    std::string message;
    // Bytes at the start of `message` (caption and reason) kept whole when it must be shortened.
    std::size_t keptWhole = 0;
};

struct ConversionInputTexts {
    std::string exportPath;
    std::string ledgerDir;
    std::string attributeLetter;
    std::string registerLetter;
    bool checkOnly = false;
};

// The first box, in the order export file, ledger directory, attribute, register, that a run
// cannot use. A check-only run does not need the ledger directory, but one that cannot be named
// is refused all the same: the run would read another directory's files.
std::optional<InputRefusal> CheckConversionInputs(const ConversionInputTexts& inputs,
                                                  DirectoryStore& directories);

// The ledger directory undo works in.
std::optional<InputRefusal> CheckLedgerDirectory(const std::string& ledgerDir,
                                                 DirectoryStore& directories);

// The Windows-1250 byte of a one-letter box: 0 when it is empty; nothing when it holds anything
// but one character of the code page.
std::optional<char> LetterByte(std::string_view utf8);

}  // namespace trevo::desktop

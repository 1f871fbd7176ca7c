#pragma once
// How the picker relates the ledger directory to the company list: which company the current
// directory names, and which directory a chosen company gives. Texts are Windows-1250.

#include <string>
#include <string_view>

namespace trevo {

// The last component of the ledger directory (the whole text when it has no separator, empty
// when it ends with one), cut to the picker's Katalog width of 8 characters.
std::string CurrentKatalogOf(std::string_view ledgerDir);

// The directory part of the list file's name (up to and including its last separator; nothing
// when it has none) followed directly by the chosen company's Katalog.
std::string ChosenLedgerDirectory(std::string_view listFileName, std::string_view katalog);

}  // namespace trevo

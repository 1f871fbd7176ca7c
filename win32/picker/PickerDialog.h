#pragma once
// The company picker as a modal Windows dialog: the ledger program's company list sorted by
// name, the company of the current ledger directory selected; a double click or Enter in the
// list confirms.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "engine/text/zdTransPL.h"

namespace trevo::win32 {

// Read at every load: the code page of the ledger program's texts (the main window's RB_MAZ
// checked gives pcMazovia, otherwise pcCp852).
using LedgerCodeSource = std::function<PolishCharset()>;

// Shows the picker modally over `owner` (disabled meanwhile) for the ledger directory
// `ledgerDir` (as the main window's box holds it). The new text for the box when the user
// confirmed a company; nothing when the dialog was closed otherwise or anything went wrong
// around it. The picker keeps its settings in the section "SPISFIRM" of `settingsPath`.
std::optional<std::wstring> PickLedgerDirectory(HWND owner, const std::wstring& ledgerDir,
                                                const LedgerCodeSource& ledgerCode,
                                                const std::wstring& settingsPath);

}  // namespace trevo::win32

#pragma once
// The main window's Act_FirmyKPRExecute: open the company picker for the current ledger
// directory and, when the user confirms a company, give the new ledger directory.

#include <QString>
#include <optional>

#include "gui/picker/frm_SpisFirm.h"

class QWidget;

namespace trevo::gui {

// The company the current ledger directory names: its last component (split at the platform's
// separator), cut to 8 characters.
QString CurrentKatalogOfLedgerDir(const QString& ledgerDir);

// Creates a new picker, shows it modally and releases it. Returns the new text for de_KPR when
// the user confirmed with a double-click, nothing otherwise. Errors are swallowed; the text is
// then to be left as it was.
std::optional<QString> PickLedgerDirectory(QWidget* parent, const QString& ledgerDirText,
                                           const TFormSpisFirm::LedgerCodeSource& ledgerCode,
                                           const QString& settingsPath);

}  // namespace trevo::gui

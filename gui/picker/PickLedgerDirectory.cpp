#include "gui/picker/PickLedgerDirectory.h"

#include <memory>

#include "companies/LedgerDirectoryChoice.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

QString CurrentKatalogOfLedgerDir(const QString& ledgerDir) {
    return QStringFromWin1250(CurrentKatalogOf(Win1250FromQString(ledgerDir)));
}

QString ChosenLedgerDir(const QString& listFileName, const QString& katalog) {
    return QStringFromWin1250(
        ChosenLedgerDirectory(Win1250FromQString(listFileName), Win1250FromQString(katalog)));
}

std::optional<QString> PickLedgerDirectory(QWidget* parent, const QString& ledgerDirText,
                                           const TFormSpisFirm::LedgerCodeSource& ledgerCode,
                                           const QString& settingsPath) {
    try {
        const QString katalog = CurrentKatalogOfLedgerDir(ledgerDirText);
        // A new dialog for every use; destroying it writes its settings section.
        const auto dialog = std::make_unique<TFormSpisFirm>(ledgerCode, settingsPath, parent);
        dialog->setCurrentKatalog(katalog);
        if (dialog->exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return ChosenLedgerDir(dialog->listFileName(), dialog->currentRowKatalog());
    } catch (...) {
        // Whatever failed around the dialog leaves the ledger directory as it was.
        return std::nullopt;
    }
}

}  // namespace trevo::gui

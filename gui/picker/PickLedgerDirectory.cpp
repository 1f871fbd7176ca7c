#include "gui/picker/PickLedgerDirectory.h"

#include <memory>

#include "desktop/PickerFlow.h"
#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

QString CurrentKatalogOfLedgerDir(const QString& ledgerDir) {
    return QStringFromWin1250(desktop::CurrentKatalogOfLedgerDir(ledgerDir.toStdString()));
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
        // Built from the file the rows came from, whatever the box holds by now.
        return dialog->chosenLedgerDir();
    } catch (...) {
        // Whatever failed around the dialog leaves the ledger directory as it was.
        return std::nullopt;
    }
}

}  // namespace trevo::gui

#pragma once
// The main window's contacts with the user outside its own controls: the beep, the message
// boxes and the company picker. The real ones by default; tests hand in their own.

#include <QString>
#include <functional>
#include <optional>

#include "engine/text/zdTransPL.h"
#include "qtplatform/MessageBoxes.h"

class QWidget;

namespace trevo::gui {

struct FormMainHooks {
    std::function<void()> beep = Beep;
    // Yes/No with an information icon, No the default; true for Yes. `details`: the question's
    // lines whole where the text shortened them; empty when none was.
    std::function<bool(QWidget* parent, const QString& caption, const QString& text,
                       const QString& details)>
        askYesNo = AskYesNo;
    // Yes/No/Cancel, Cancel the default: true for Yes, false for No, nothing for Cancel. Asked
    // when documents of the export are in the ledger already.
    std::function<std::optional<bool>(QWidget* parent, const QString& caption, const QString& text)>
        askYesNoCancel = AskYesNoCancel;
    // The plain box with the application title, no icon and only OK.
    std::function<void(QWidget* parent, const QString& text)> showPlainMessage = ShowPlainMessage;
    // The general error box for an error that escapes a handler.
    std::function<void(QWidget* parent, const QString& text)> showError = ShowErrorBox;
    // The company picker: given the current ledger directory and the ledger code page, the
    // directory of the company the user confirmed, or nothing. Unset: the real picker.
    std::function<std::optional<QString>(QWidget* parent, const QString& ledgerDir,
                                         PolishCharset ledgerCode)>
        pickCompanyDirectory;
};

}  // namespace trevo::gui

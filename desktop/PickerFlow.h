#pragma once
// The company picker's behaviour over an abstract view: which file it loads and when, what the
// grid shows and which row is current, the status line, the beep and focus of a refused load,
// and the ledger directory a confirmed company gives. The front end builds the controls
// (desktop/PickerForm.h), binds the settings (FormSettings with PickerSettingsConfig, created
// before this flow's first activation, so the restored name is in the box), and forwards:
//
//   the dialog activated          -> Activated()      (the first one loads)
//   "Załaduj ...", Enter in box   -> LoadAsked()
//   the box's text changed        -> FileBoxChanged() (typing, or SetFileBoxText below)
//   the focus left the box        -> FileBoxLeft()
//   a file chosen in the dialog   -> FileChosen(path)
//   double click, Enter in grid   -> ConfirmAsked(): true closes the dialog with OK
//
// and after an OK takes ChosenLedgerDirectory() for the main window's ledger directory box.
// Texts exchanged with the view are UTF-8; rows are CompanyRows (Windows-1250, shown through
// picker_form::CellText).

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "companies/CompanyPickerList.h"
#include "companies/CompanyRows.h"
#include "engine/text/zdTransPL.h"

namespace trevo {
class FileSystem;
class StringCollation;
}  // namespace trevo

namespace trevo::desktop {

class PickerView {
  public:
    virtual ~PickerView() = default;

    // The file box's text as it shows it (a chosen name with a space is in double quotes).
    virtual std::string FileBoxText() = 0;
    virtual void SetFileBoxText(std::string_view utf8) = 0;
    // The system's default beep (MessageBeep, QApplication::beep).
    virtual void Beep() = 0;
    virtual void FocusFileBox() = 0;
    virtual void FocusGrid() = 0;
    // Replaces the grid's rows, repainting once, and makes `current` the current (selected,
    // marked, scrolled into view) row; none current when nothing.
    virtual void ShowRows(const std::vector<CompanyRow>& rows,
                          std::optional<std::size_t> current) = 0;
    // The grid's current row as the user left it; nothing when none.
    virtual std::optional<std::size_t> CurrentRow() = 0;
    // The line under the grid.
    virtual void ShowStatus(std::string_view utf8) = 0;
    // The standard error box, for an error the load did not expect (memory running out).
    virtual void ShowErrorBox(std::string_view utf8) = 0;
};

// The company the main window's ledger directory names (its box's text, UTF-8): its last
// component, cut to 8 characters, in Windows-1250 ('?' for a character outside it).
std::string CurrentKatalogOfLedgerDir(std::string_view ledgerDirUtf8);

class PickerFlow {
  public:
    // Read at every load: pcMazovia when the main window's RB_MAZ is checked, else pcCp852.
    using LedgerCodeSource = std::function<PolishCharset()>;

    // `files` and `collation` outlive the flow (LocalFileSystem(), the user's collation).
    PickerFlow(PickerView& view, FileSystem& files, const StringCollation& collation,
               LedgerCodeSource ledgerCode);

    // The company the load selects: Windows-1250, cut to 8 characters. Set before showing.
    void SetCurrentKatalog(std::string_view win1250);
    const std::string& CurrentKatalog() const { return currentKatalog_; }

    void Activated();
    // Loads the file the box names, as the user asked: a refused load beeps and puts the focus
    // in the box; a load puts it in the grid.
    void LoadAsked();
    // Rows of another file than the box names now are dropped, and the status line says that
    // Enter loads the new name.
    void FileBoxChanged();
    // Loads the typed name unless the rows are from it or the last load tried it; a refusal
    // says why in the status line but neither beeps nor pulls the focus back.
    void FileBoxLeft();
    // The box shows the chosen path (quoted when it holds a space), the next browse starts in
    // its directory, and it loads.
    void FileChosen(std::string_view pathUtf8);
    // True when a list is loaded, so that the dialog closes with OK; otherwise a beep.
    bool ConfirmAsked();

    // The ledger directory of the current row's company, UTF-8: the directory part of the
    // file the rows came from (never what the box says by now) and the company's Katalog;
    // that directory part alone for a list without companies. Nothing without a loaded list.
    std::optional<std::string> ChosenLedgerDirectory() const;
    // The Katalog of the grid's current row (Windows-1250); empty without one.
    std::string CurrentRowKatalog() const;
    // The name taken from the box: without its quotes (UTF-8).
    std::string ListFileName() const;
    // Where the open-file dialog opens: the directory of the box's name when it has one that
    // exists, else the last chosen file's directory, else picker_form::kInitialDirectory.
    std::string BrowseStartDirectory() const;

    const CompanyPickerList& List() const { return list_; }
    const std::string& StatusText() const { return status_; }
    bool LoadOnActivate() const { return loadOnActivate_; }

  private:
    enum class Trigger { Asked, LeavingTheBox };
    void Load(Trigger trigger);
    void Status(std::string text);

    PickerView& view_;
    FileSystem& files_;
    const StringCollation& collation_;
    LedgerCodeSource ledgerCode_;
    CompanyPickerList list_;
    std::string currentKatalog_;   // Windows-1250, at most 8 characters
    std::string status_;           // UTF-8
    std::string lastTried_;        // the name (UTF-8) the last load tried
    std::string chosenDirectory_;  // UTF-8, the last chosen file's directory
    bool loadOnActivate_ = true;
};

}  // namespace trevo::desktop

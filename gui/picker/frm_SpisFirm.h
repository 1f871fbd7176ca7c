#pragma once
// The company picker: shows the ledger program's company list sorted by name, with the company
// of the current ledger directory selected; a double-click in the grid confirms the dialog.
// What it loads, shows, selects and hands back is desktop::PickerFlow's; the dialog builds the
// controls from desktop/PickerForm.h, draws, and forwards its events.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "desktop/PickerFlow.h"
#include "qtplatform/UserLocaleCollation.h"

class QFrame;
class QLabel;
class QPushButton;
class QTableView;

namespace trevo::gui {

class CompanyTableModel;
class FileNameEdit;
class FormStorage;

class TFormSpisFirm : public QDialog, private desktop::PickerView {
    Q_OBJECT

  public:
    // Read at every load: the code page of the ledger program's texts (the main window's
    // RB_MAZ checked gives pcMazovia, otherwise pcCp852).
    using LedgerCodeSource = desktop::PickerFlow::LedgerCodeSource;

    TFormSpisFirm(LedgerCodeSource ledgerCode, QString settingsPath, QWidget* parent = nullptr);
    ~TFormSpisFirm() override;

    // The directory name the load selects; a short string of 8 characters.
    QString currentKatalog() const;
    void setCurrentKatalog(const QString& katalog);

    bool loadOnActivate() const { return flow_.LoadOnActivate(); }

    // The Katalog of the table's current row; empty when the table has no rows.
    QString currentRowKatalog() const;
    // The list file's name as taken from FilenameEdit, without quotes.
    QString listFileName() const;
    // The ledger directory of the current row's company, built from the file the rows came
    // from; nothing when no list is loaded.
    std::optional<QString> chosenLedgerDir() const;
    // What the status line says: where the rows came from, or why there are none.
    QString statusText() const { return statusText_; }

    // The beep of a missing list file; the system's default beep unless replaced.
    void setBeepHook(std::function<void()> beep);

    FileNameEdit* filenameEdit() const { return FilenameEdit; }
    QTableView* grid() const { return DBGridLista; }
    QLabel* statusLine() const { return LabelStatus; }
    CompanyTableModel* table() const { return RxMD_Spis; }

  public slots:
    void LoadCompanyList();
    void bb_ZaladujClick();
    void DBGridListaDblClick();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // desktop::PickerView
    std::string FileBoxText() override;
    void SetFileBoxText(std::string_view utf8) override;
    void Beep() override;
    void FocusFileBox() override;
    void FocusGrid() override;
    void ShowRows(const std::vector<CompanyRow>& rows, std::optional<std::size_t> current) override;
    std::optional<std::size_t> CurrentRow() override;
    void ShowStatus(std::string_view utf8) override;
    void ShowErrorBox(std::string_view utf8) override;

    void FitStatusText();
    void FormActivate();
    void MakeCurrent(std::size_t row);
    // Widens Katalog and Info to show their whole texts.
    void FitTextColumns();

    QString settingsPath_;
    std::function<void()> beep_;

    QFrame* PanelTop;
    QLabel* Label1;
    FileNameEdit* FilenameEdit;
    QPushButton* bb_Zaladuj;
    QFrame* PanelMain;
    QTableView* DBGridLista;
    QLabel* LabelStatus;
    CompanyTableModel* RxMD_Spis;
    FormStorage* formStorage_;  // child of the dialog

    QString statusText_;  // UTF-16 of the flow's status, as fitted into LabelStatus
    const qt::UserLocaleCollation collation_;
    desktop::PickerFlow flow_;
};

}  // namespace trevo::gui

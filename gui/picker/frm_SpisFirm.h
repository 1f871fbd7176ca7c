#pragma once
// The company picker: shows the ledger program's company list sorted by name, with the company
// of the current ledger directory selected; a double-click in the grid confirms the dialog.
// The rows are always those of the file the box names: choosing a file loads it, Enter and
// leaving the box load a typed name, typing drops the rows of another file, and a failed load
// leaves none and says why in the dialog's status line.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "engine/text/zdTransPL.h"

class QFrame;
class QLabel;
class QPushButton;
class QTableView;

namespace trevo::gui {

class CompanyTableModel;
class FileNameEdit;
class FormStorage;

class TFormSpisFirm : public QDialog {
    Q_OBJECT

  public:
    // Read at every load: the code page of the ledger program's texts (the main window's
    // RB_MAZ checked gives pcMazovia, otherwise pcCp852).
    using LedgerCodeSource = std::function<PolishCharset()>;

    TFormSpisFirm(LedgerCodeSource ledgerCode, QString settingsPath, QWidget* parent = nullptr);
    ~TFormSpisFirm() override;

    // The directory name the load selects; a short string of 8 characters.
    QString currentKatalog() const;
    void setCurrentKatalog(const QString& katalog);

    bool loadOnActivate() const { return loadOnActivate_; }

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
    // How a load was started: by the user's request (the first activation, "Załaduj ...",
    // Enter, a chosen file), or by leaving the box, which must not pull the focus back.
    enum class LoadTrigger { Asked, LeavingTheBox };

    void Load(LoadTrigger trigger);
    void FilenameEditChange();
    void FilenameEditExit();
    void ShowStatus(const QString& text);
    void FitStatusText();
    void FormCreate();
    void FormActivate();
    void MakeCurrent(std::size_t row);
    // Widens Katalog and Info to show their whole texts.
    void FitTextColumns();

    LedgerCodeSource ledgerCode_;
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

    bool loadOnActivate_ = false;
    QString statusText_;
    // The name the last load tried; leaving the box does not try it again.
    QString lastTried_;
    std::string currentKatalog_;  // Windows-1250, at most 8 characters
};

}  // namespace trevo::gui

#pragma once
// The picker's in-memory company table (object name "RxMD_Spis"): the columns Firma, Katalog
// and Info over the picker's list, its values held as Windows-1250 bytes and shown through the
// text boundary. The list keeps the file its rows came from.

#include <QAbstractTableModel>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "companies/CompanyPickerList.h"

namespace trevo::gui {

class CompanyTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The table's fields, in column order.
    enum Field { RxMD_SpisFirma, RxMD_SpisKatalog, RxMD_SpisInfo, kFieldCount };

    explicit CompanyTableModel(QObject* parent = nullptr);

    // Replaces the rows by those of the list at `path` (see CompanyPickerList::Load); the
    // views are told also when the reading throws.
    CompanyListFailure load(FileSystem& fileSystem, const std::string& path,
                            PolishCharset ledgerCode, std::string_view katalog,
                            const StringCollation& collation);
    // Drops the rows unless they came from the file `name` names. True when they were dropped.
    bool dropUnlessFrom(const QString& name);
    void clear();

    const CompanyPickerList& list() const { return list_; }
    const std::vector<CompanyRow>& rows() const { return list_.Rows(); }
    // The name of the file the rows came from, as the user's box spells it; nothing when no
    // list is loaded.
    std::optional<QString> sourceName() const;

    // The row whose vertical header shows the current-row marker; -1 for none.
    void setMarkedRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // An Info cut to its column ends with an ellipsis; the tooltip of every cell is its whole
    // text.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    CompanyPickerList list_;
    int markedRow_ = -1;
};

}  // namespace trevo::gui

#pragma once
// The picker's in-memory company table (object name "RxMD_Spis"): the columns Firma, Katalog
// and Info, their values held as Windows-1250 bytes and shown through the text boundary.

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

#include "companies/CompanyRows.h"

namespace trevo::gui {

class CompanyTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The table's fields, in column order.
    enum Field { RxMD_SpisFirma, RxMD_SpisKatalog, RxMD_SpisInfo, kFieldCount };

    explicit CompanyTableModel(QObject* parent = nullptr);

    void clear();
    // Appends the company cut to the column widths.
    void append(const CompanyRecord& record);
    // Stable sort by Firma; returns where the row at `current` now stands.
    std::optional<std::size_t> sortByFirma(std::optional<std::size_t> current,
                                           const StringCollation& collation);
    const std::vector<CompanyRow>& rows() const { return rows_; }

    // The row whose vertical header shows the current-row marker; -1 for none.
    void setMarkedRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::vector<CompanyRow> rows_;
    int markedRow_ = -1;
};

}  // namespace trevo::gui

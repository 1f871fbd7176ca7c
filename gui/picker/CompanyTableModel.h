#pragma once
// The picker's in-memory company table (object name "RxMD_Spis") as the grid shows it: the
// columns Firma, Katalog and Info of the rows the picker's flow hands over, their texts and
// tooltips as desktop/PickerForm.h words them, and the current row's marker.

#include <QAbstractTableModel>
#include <vector>

#include "companies/CompanyRows.h"

namespace trevo::gui {

class CompanyTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The table's fields, in column order.
    enum Field { RxMD_SpisFirma, RxMD_SpisKatalog, RxMD_SpisInfo, kFieldCount };

    explicit CompanyTableModel(QObject* parent = nullptr);

    // Replaces the rows; no row is marked.
    void setRows(const std::vector<CompanyRow>& rows);
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

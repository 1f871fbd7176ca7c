#include "gui/picker/CompanyTableModel.h"

#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

CompanyTableModel::CompanyTableModel(QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(QStringLiteral("RxMD_Spis"));
}

void CompanyTableModel::clear() {
    beginResetModel();
    rows_.clear();
    markedRow_ = -1;
    endResetModel();
}

void CompanyTableModel::append(const CompanyRecord& record) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), row, row);
    rows_.push_back(MakeCompanyRow(record));
    endInsertRows();
}

std::optional<std::size_t> CompanyTableModel::sortByFirma(std::optional<std::size_t> current,
                                                          const StringCollation& collation) {
    beginResetModel();
    const auto moved = SortRowsByFirma(rows_, current, collation);
    markedRow_ = -1;
    endResetModel();
    return moved;
}

void CompanyTableModel::setMarkedRow(int row) {
    const int previous = markedRow_;
    markedRow_ = row;
    for (const int changed : {previous, row}) {
        if (changed >= 0 && changed < rowCount()) {
            emit headerDataChanged(Qt::Vertical, changed, changed);
        }
    }
}

int CompanyTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CompanyTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFieldCount;
}

QVariant CompanyTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const CompanyRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case RxMD_SpisFirma:
            return QStringFromWin1250(row.firma);
        case RxMD_SpisKatalog:
            return QStringFromWin1250(row.katalog);
        case RxMD_SpisInfo:
            return QStringFromWin1250(row.info);
        default:
            return {};
    }
}

QVariant CompanyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section == markedRow_ ? QStringLiteral("\u25B6") : QString();
    }
    switch (section) {
        case RxMD_SpisFirma:
            return QStringLiteral("Firma");
        case RxMD_SpisKatalog:
            return QStringLiteral("Katalog");
        case RxMD_SpisInfo:
            return QStringLiteral("Info");
        default:
            return {};
    }
}

Qt::ItemFlags CompanyTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace trevo::gui

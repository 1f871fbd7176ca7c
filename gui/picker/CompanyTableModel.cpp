#include "gui/picker/CompanyTableModel.h"

#include "desktop/PickerForm.h"

namespace trevo::gui {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CompanyTableModel::CompanyTableModel(QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(QStringLiteral("RxMD_Spis"));
}

void CompanyTableModel::setRows(const std::vector<CompanyRow>& rows) {
    beginResetModel();
    rows_ = rows;
    markedRow_ = -1;
    endResetModel();
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
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        index.row() >= rowCount() || index.column() >= kFieldCount) {
        return {};
    }
    const CompanyRow& row = rows_[static_cast<std::size_t>(index.row())];
    const auto column = desktop::picker_form::kColumns[static_cast<std::size_t>(index.column())];
    return FromUtf8(role == Qt::ToolTipRole ? desktop::picker_form::CellTip(row, column.column)
                                            : desktop::picker_form::CellText(row, column.column));
}

QVariant CompanyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section == markedRow_ ? FromUtf8(desktop::picker_form::kCurrentRowMarker)
                                     : QString();
    }
    if (section < 0 || section >= kFieldCount) {
        return {};
    }
    return FromUtf8(desktop::picker_form::kColumns[static_cast<std::size_t>(section)].title);
}

Qt::ItemFlags CompanyTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace trevo::gui

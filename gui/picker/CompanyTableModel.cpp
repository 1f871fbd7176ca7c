#include "gui/picker/CompanyTableModel.h"

#include <functional>

#include "qtplatform/Win1250Text.h"

namespace trevo::gui {

namespace {

// Ends a model reset however the work inside it ends.
class ResetScope {
  public:
    explicit ResetScope(std::function<void()> end) : end_(std::move(end)) {}
    ResetScope(const ResetScope&) = delete;
    ResetScope& operator=(const ResetScope&) = delete;
    ~ResetScope() { end_(); }

  private:
    std::function<void()> end_;
};

}  // namespace

CompanyTableModel::CompanyTableModel(QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(QStringLiteral("RxMD_Spis"));
}

CompanyListFailure CompanyTableModel::load(FileSystem& fileSystem, const std::string& path,
                                           PolishCharset ledgerCode, std::string_view katalog,
                                           const StringCollation& collation) {
    beginResetModel();
    const ResetScope scope([this] {
        markedRow_ = -1;
        endResetModel();
    });
    return list_.Load(fileSystem, path, ledgerCode, katalog, collation);
}

bool CompanyTableModel::dropUnlessFrom(const QString& name) {
    const std::string path = Win1250FromQString(name);
    // A letter outside Windows-1250 became '?' in `path`: the name is no file's the rows have.
    const bool spelled = QStringFromWin1250(path) == name;
    if (!list_.Source() || (spelled && list_.IsFrom(path))) {
        return false;
    }
    clear();
    return true;
}

void CompanyTableModel::clear() {
    beginResetModel();
    list_.Clear();
    markedRow_ = -1;
    endResetModel();
}

std::optional<QString> CompanyTableModel::sourceName() const {
    if (!list_.Source()) {
        return std::nullopt;
    }
    return QStringFromWin1250(*list_.Source());
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
    return parent.isValid() ? 0 : static_cast<int>(rows().size());
}

int CompanyTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFieldCount;
}

QVariant CompanyTableModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        index.row() >= rowCount()) {
        return {};
    }
    const CompanyRow& row = rows()[static_cast<std::size_t>(index.row())];
    const bool tip = role == Qt::ToolTipRole;
    switch (index.column()) {
        case RxMD_SpisFirma:
            return QStringFromWin1250(row.firma);
        case RxMD_SpisKatalog:
            return QStringFromWin1250(row.katalog);
        case RxMD_SpisInfo:
            if (tip) {
                return QStringFromWin1250(row.wholeInfo);
            }
            // The column shows its first characters; the ellipsis tells that more follows.
            return row.wholeInfo.size() > row.info.size()
                       ? QStringFromWin1250(row.info) + QChar(u'\u2026')
                       : QStringFromWin1250(row.info);
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

#include "app/desktop/PairRowsModel.h"

#include "app/desktop/UiText.h"

namespace morvane::app {

PairRowsModel::PairRowsModel(bool isRegex, QObject* parent)
    : QAbstractTableModel(parent), isRegex_(isRegex) {}

void PairRowsModel::setRows(ListRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
    emit rowsEdited();
}

void PairRowsModel::setMatchCounts(std::vector<std::size_t> counts) {
    counts_ = std::move(counts);
    if (!rows_.empty()) {
        emit dataChanged(index(0, matches), index(rowCount() - 1, matches), {Qt::DisplayRole});
    }
}

void PairRowsModel::retranslate() {
    emit headerDataChanged(Qt::Horizontal, 0, columnCount_ - 1);
}

int PairRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PairRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

Qt::ItemFlags PairRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == enabled) {
        flags |= Qt::ItemIsUserCheckable;
    } else if (index.column() == find || index.column() == with) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant PairRowsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const ListRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case enabled:
        if (role == Qt::CheckStateRole) {
            return row.isEnabled ? Qt::Checked : Qt::Unchecked;
        }
        if (role == Qt::AccessibleTextRole) {
            return ui("Enabled");
        }
        return {};
    case find:
    case with:
        if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole) {
            return toQString(index.column() == find ? row.find : row.with);
        }
        return {};
    case matches:
        if (role == Qt::DisplayRole && static_cast<std::size_t>(index.row()) < counts_.size()) {
            return QString::number(counts_[static_cast<std::size_t>(index.row())]);
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    default:
        return {};
    }
}

bool PairRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) {
        return false;
    }
    ListRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (index.column() == enabled && role == Qt::CheckStateRole) {
        row.isEnabled = value.value<Qt::CheckState>() == Qt::Checked;
    } else if ((index.column() == find || index.column() == with) && role == Qt::EditRole) {
        (index.column() == find ? row.find : row.with) = fromQString(value.toString());
    } else {
        return false;
    }
    emit dataChanged(index, index);
    emit rowsEdited();
    return true;
}

QVariant PairRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case enabled:
        return QString();
    case find:
        return ui(isRegex_ ? "Pattern" : "Find");
    case with:
        return ui("Replace With");
    case matches:
        return ui("Matches");
    default:
        return {};
    }
}

} // namespace morvane::app

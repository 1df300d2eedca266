#include "app/desktop/ItemTableModel.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"

#include <QDateTime>

namespace morvane::app {
namespace {

// Enough for the rows of a tall window, several times over.
constexpr int kCachedRows = 600;

} // namespace

ItemTableModel::ItemTableModel(AppModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model), locale_(Localizer::locale()), drawn_(kCachedRows) {
    connect(&model_.preview(), &WindowPreview::rowsChanged, this, &ItemTableModel::reset);
    // The check box answers at once; the status follows with the next plan.
    connect(&model_.items(), &WindowItems::uncheckedChanged, this, [this] {
        if (rowCount() > 0) {
            emit dataChanged(index(0, include), index(rowCount() - 1, include), {Qt::CheckStateRole});
        }
    });
}

void ItemTableModel::reset() {
    beginResetModel();
    drawn_.clear();
    endResetModel();
}

void ItemTableModel::retranslate() {
    locale_ = Localizer::locale();
    drawn_.clear();
    emit headerDataChanged(Qt::Horizontal, 0, columnCount_ - 1);
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount_ - 1));
    }
}

QString ItemTableModel::dateText(Date date) const {
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(date.time_since_epoch()).count();
    return locale_.toString(QDateTime::fromMSecsSinceEpoch(milliseconds), QLocale::ShortFormat);
}

QString ItemTableModel::sampleDate() const {
    return locale_.toString(QDateTime(QDate(2028, 12, 28), QTime(23, 58)), QLocale::ShortFormat);
}

QStringList ItemTableModel::sampleSizes() const {
    return {toQString(Localizer::dataSize(1023)), toQString(Localizer::dataSize(888'888'888'888))};
}

int ItemTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(model_.preview().rowCount());
}

int ItemTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == include) {
        flags |= Qt::ItemIsUserCheckable;
    }
    // An excluded item is not renamed: there is no new name to edit.
    if (index.column() == newName && index.row() < rowCount() &&
        model_.preview().row(static_cast<std::size_t>(index.row())).entry().status.kind !=
            RenameStatus::Kind::excluded) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

const ItemTableModel::DrawnRow& ItemTableModel::drawn(int row) const {
    if (DrawnRow* cached = drawn_.object(row)) {
        return *cached;
    }
    const Row item = model_.preview().row(static_cast<std::size_t>(row));
    auto* made = new DrawnRow{DiffText(NameDiff(item.name(), item.entry().newName), DiffText::Side::newName),
                              dateText(item.modified())};
    drawn_.insert(row, made);
    return *made;
}

const DiffText& ItemTableModel::newNameText(int row) const {
    return drawn(row).newName;
}

QVariant ItemTableModel::statusData(const Row& row, int role) const {
    if (role == Qt::CheckStateRole || role == Qt::TextAlignmentRole) {
        return {};
    }
    const RowStatus shown = model_.status(row.entry());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return toQString(shown.label);
    case Qt::DecorationRole:
        return Icons::statusSymbol(toQString(shown.symbol));
    case Qt::ToolTipRole:
        return shown.help ? QVariant(toQString(*shown.help)) : QVariant();
    default:
        return {};
    }
}

QVariant ItemTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    // A cell is asked for a dozen roles each time it is drawn; those it has
    // nothing for cost nothing.
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::DecorationRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
    case Qt::CheckStateRole:
    case Qt::TextAlignmentRole:
    case NewNameTextRole:
    case ItemIdRole:
        break;
    default:
        return {};
    }
    const Row row = model_.preview().row(static_cast<std::size_t>(index.row()));
    if (role == ItemIdRole) {
        return toQString(row.id());
    }
    const int at = index.column();
    if (at == include) {
        if (role == Qt::CheckStateRole) {
            return model_.items().isChecked(row.id()) ? Qt::Checked : Qt::Unchecked;
        }
        if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
            return ui("Include");
        }
        return {};
    }
    if (at == status) {
        return statusData(row, role);
    }
    if (at == newName && role == NewNameTextRole) {
        return QVariant::fromValue(&newNameText(index.row()));
    }
    if (at == newName && role == Qt::EditRole) {
        return toQString(row.entry().newName);
    }
    // A name written by hand carries its mark.
    if (at == newName && role == Qt::DecorationRole) {
        return row.entry().isEdited ? QVariant(Icons::statusSymbol("pencil")) : QVariant();
    }
    if (role == Qt::ToolTipRole && (at == currentName || at == newName || at == path)) {
        return data(index, Qt::DisplayRole);
    }
    if (role == Qt::TextAlignmentRole && at == size) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    switch (at) {
    case currentName:
        return toQString(row.name());
    case newName:
        return toQString(row.entry().newName);
    case kind:
        return toQString(row.kind());
    case modified:
        return drawn(index.row()).modified;
    case size:
        return row.entry().item.isDirectory ? QStringLiteral("\u2014")
                                            : toQString(Localizer::dataSize(row.size()));
    case path:
        return toQString(model_.items().shownFolder(row.entry().item));
    default:
        return {};
    }
}

bool ItemTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (index.isValid() && index.column() == newName && role == Qt::EditRole) {
        const std::string id = model_.preview().row(static_cast<std::size_t>(index.row())).id();
        model_.rules().editNewName(id, fromQString(value.toString()));
        return true;
    }
    if (!index.isValid() || index.column() != include || role != Qt::CheckStateRole) {
        return false;
    }
    const std::string id = model_.preview().row(static_cast<std::size_t>(index.row())).id();
    model_.items().setChecked(id, value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole)) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static constexpr const char* titles[columnCount_] = {"Include", "Status",   "Current Name", "New Name",
                                                         "Kind",    "Modified", "Size",         "Path"};
    if (section < 0 || section >= columnCount_) {
        return {};
    }
    // The check box's column is as narrow as the box: its name is its tooltip.
    if (section == include && role == Qt::DisplayRole) {
        return QString();
    }
    return ui(titles[section]);
}

std::optional<SortField> ItemTableModel::sortField(int column) {
    switch (column) {
    case currentName:
        return SortField::name;
    case kind:
        return SortField::kind;
    case modified:
        return SortField::modified;
    case size:
        return SortField::size;
    case path:
        return SortField::path;
    default:
        return std::nullopt;
    }
}

int ItemTableModel::column(SortField field) {
    switch (field) {
    case SortField::name:
        return currentName;
    case SortField::kind:
        return kind;
    case SortField::modified:
        return modified;
    case SortField::size:
        return size;
    case SortField::path:
        return path;
    }
    return currentName;
}

} // namespace morvane::app

#include "app/desktop/ItemTable.h"

#include "app/desktop/ItemTableModel.h"
#include "app/desktop/NameDelegate.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyle>

namespace morvane::app {

ItemTable::ItemTable(AppModel& model, QWidget* parent)
    : QTableView(parent), model_(model), rows_(new ItemTableModel(model, this)) {
    setModel(rows_);
    setItemDelegate(new NameDelegate(model.settings(), this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(ScrollPerPixel);
    setTabKeyNavigation(false);

    // Every row is one line high: the view never measures rows.
    QHeaderView* rowsHeader = verticalHeader();
    rowsHeader->hide();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(fontMetrics().height() + 8);

    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);
    showModelOrder();
    connect(header, &QHeaderView::sortIndicatorChanged, this, &ItemTable::sortRequested);
    connect(&model_.items(), &WindowItems::sortChanged, this, &ItemTable::showModelOrder);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_ && current.isValid()) {
                    model_.items().setSelectedID(
                        fromQString(current.data(ItemTableModel::ItemIdRole).toString()));
                }
            });
    connect(rows_, &QAbstractItemModel::modelReset, this, &ItemTable::showModelSelection);
    connect(&model_.items(), &WindowItems::selectionChanged, this, &ItemTable::showModelSelection);
    connect(&model_.settings(), &AppSettings::highlightChangesChanged, viewport(),
            qOverload<>(&QWidget::update));
    retranslate();
}

void ItemTable::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void ItemTable::retranslate() {
    setAccessibleName(ui("Items"));
    rows_->retranslate();
    fitColumns();
}

// Columns wide enough for their header and for what they hold in the
// interface language: every status label, a long date, a large size.
void ItemTable::fitColumns() {
    const QFontMetrics metrics = fontMetrics();
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) + 6;
    const auto fit = [&](int column, const QStringList& samples, int extra = 0) {
        const int indicator = ItemTableModel::sortField(column) ? 20 : 4;
        int width =
            metrics.horizontalAdvance(rows_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()) +
            indicator;
        for (const QString& sample : samples) {
            width = std::max(width, metrics.horizontalAdvance(sample) + extra);
        }
        horizontalHeader()->resizeSection(column, width + padding);
    };
    QStringList statuses;
    for (const char* label : {"Rename", "Unchanged", "Conflict", "Excluded", "Filtered", "Invalid"}) {
        statuses << ui(label);
    }
    const int em = metrics.horizontalAdvance('M');
    fit(ItemTableModel::include, {}, 0);
    fit(ItemTableModel::status, statuses, icon);
    horizontalHeader()->resizeSection(ItemTableModel::currentName, 14 * em);
    horizontalHeader()->resizeSection(ItemTableModel::newName, 14 * em);
    fit(ItemTableModel::kind, {ui("Folder")});
    fit(ItemTableModel::modified, {rows_->sampleDate()});
    fit(ItemTableModel::size, {rows_->sampleSize()});
    horizontalHeader()->resizeSection(ItemTableModel::path, 14 * em);
}

void ItemTable::showModelOrder() {
    const QSignalBlocker blocker(horizontalHeader());
    const WindowItems& items = model_.items();
    horizontalHeader()->setSortIndicator(ItemTableModel::column(items.sortField()),
                                         items.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

// Only the columns with an order set one; a click on another keeps the order.
void ItemTable::sortRequested(int column, Qt::SortOrder order) {
    const auto field = ItemTableModel::sortField(column);
    if (!field) {
        showModelOrder();
        return;
    }
    model_.items().setOrder(ItemOrder{*field, order == Qt::AscendingOrder});
}

void ItemTable::showModelSelection() {
    const QScopedValueRollback guard(syncing_, true);
    const auto row = model_.preview().selectedRowIndex();
    if (!row || static_cast<int>(*row) >= rows_->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : ItemTableModel::currentName;
    const QModelIndex target = rows_->index(static_cast<int>(*row), column);
    if (current != target || !selectionModel()->isRowSelected(target.row(), {})) {
        selectionModel()->setCurrentIndex(target,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

// Space toggles the current row's check box, as it does for any check box.
void ItemTable::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && current.isValid()) {
        const QModelIndex box = rows_->index(current.row(), ItemTableModel::include);
        const bool checked = box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        rows_->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace morvane::app

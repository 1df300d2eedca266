#include "app/desktop/ItemTable.h"

#include "app/desktop/ItemTableModel.h"
#include "app/desktop/NameDelegate.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStyle>

namespace morvane::app {

ItemTable::ItemTable(AppModel& model, QWidget* parent)
    : QTableView(parent), model_(model), rows_(new ItemTableModel(model, this)) {
    setModel(rows_);
    setItemDelegate(new NameDelegate(model.settings(), this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(DoubleClicked | EditKeyPressed);
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
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(16);
    header->setSectionResizeMode(ItemTableModel::include, QHeaderView::Fixed);
    showModelOrder();
    connect(header, &QHeaderView::sortIndicatorChanged, this, &ItemTable::sortRequested);
    connect(&model_.items(), &WindowItems::sortChanged, this, &ItemTable::showModelOrder);
    placePathColumn();
    connect(&model_.items(), &WindowItems::scanOptionsChanged, this, &ItemTable::placePathColumn);

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
// interface language: every status label, a long date, a large size; the
// check box's column as narrow as the box. The names share what is left.
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
    for (const char* label :
         {"Rename", "Edited", "Unchanged", "Conflict", "Excluded", "Filtered", "Invalid"}) {
        statuses << ui(label);
    }
    horizontalHeader()->resizeSection(
        ItemTableModel::include, style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) + padding);
    fit(ItemTableModel::status, statuses, icon);
    fit(ItemTableModel::kind, {ui("Folder")});
    fit(ItemTableModel::modified, {rows_->sampleDate()});
    fit(ItemTableModel::size, rows_->sampleSizes());
    horizontalHeader()->resizeSection(ItemTableModel::path, 14 * metrics.horizontalAdvance('M'));
    fitNames();
    updateGeometry();
}

// A name column `ems` wide, and at least as wide as its title with the sort
// indicator when it is to be read comfortably.
int ItemTable::nameWidth(int ems, bool withTitle) const {
    const QFontMetrics metrics = fontMetrics();
    int width = ems * metrics.horizontalAdvance('M');
    for (const int column : {ItemTableModel::currentName, ItemTableModel::newName}) {
        const QString title = rows_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        if (withTitle) {
            width = std::max(width,
                             metrics.horizontalAdvance(title) + 20 +
                                 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8);
        }
    }
    return width;
}

int ItemTable::nameMinimum() const {
    return nameWidth(9, false);
}

// The check box, the status and both names, each name at `nameWidth` wide.
int ItemTable::widthWithNamesOf(int nameWidth) const {
    const QHeaderView* header = horizontalHeader();
    return header->sectionSize(ItemTableModel::include) + header->sectionSize(ItemTableModel::status) +
           2 * nameWidth + 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QSize ItemTable::minimumSizeHint() const {
    return {widthWithNamesOf(nameMinimum()), QTableView::minimumSizeHint().height()};
}

QSize ItemTable::sizeHint() const {
    return {widthWithNamesOf(nameWidth(16, true)), QTableView::sizeHint().height()};
}

// The names take the width the other columns leave, in two equal parts;
// when that is less than they need to be read, the columns after them are
// pushed out of view rather than the names cut short.
void ItemTable::fitNames() {
    const QHeaderView* header = horizontalHeader();
    const int available = viewport()->width();
    const int before =
        header->sectionSize(ItemTableModel::include) + header->sectionSize(ItemTableModel::status);
    int after = 0;
    for (const int column :
         {ItemTableModel::kind, ItemTableModel::modified, ItemTableModel::size, ItemTableModel::path}) {
        after += header->sectionSize(column);
    }
    // What is left with every column in view; where that is too little to
    // read the names by, they take up to their comfortable width.
    const int left = available - before - after;
    const int comfortable = std::min(available - before, 2 * nameWidth(16, true));
    const int names = std::max({left, comfortable, 2 * nameMinimum()});
    horizontalHeader()->resizeSection(ItemTableModel::currentName, names / 2);
    horizontalHeader()->resizeSection(ItemTableModel::newName, names - names / 2);
}

// With subfolders, items of the same name in different folders are told
// apart by their folder: the Path column then comes right after New Name, so
// it stays in view when the window is too narrow for every column.
void ItemTable::placePathColumn() {
    QHeaderView* header = horizontalHeader();
    const int wanted = model_.items().scanOptions().recursive
                           ? header->visualIndex(ItemTableModel::newName) + 1
                           : ItemTableModel::columnCount_ - 1;
    header->moveSection(header->visualIndex(ItemTableModel::path), wanted);
}

bool ItemTable::viewportEvent(QEvent* event) {
    const bool handled = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize) {
        fitNames();
    }
    return handled;
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

bool ItemTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool fromKeyboard = trigger == EditKeyPressed || trigger == AllEditTriggers;
    const QModelIndex target =
        fromKeyboard && index.isValid() ? rows_->index(index.row(), ItemTableModel::newName) : index;
    if (fromKeyboard && target != index && target.flags().testFlag(Qt::ItemIsEditable)) {
        setCurrentIndex(target);
    }
    return QTableView::edit(target, trigger, event);
}

void ItemTable::contextMenuEvent(QContextMenuEvent* event) {
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex at = fromKeyboard ? currentIndex() : indexAt(event->pos());
    if (!at.isValid()) {
        return;
    }
    const QRect cell = visualRect(rows_->index(at.row(), ItemTableModel::newName));
    showContextMenu(at.row(), fromKeyboard ? viewport()->mapToGlobal(cell.bottomLeft()) : event->globalPos());
}

// The menu opens and returns at once; it acts on the row it was opened for.
void ItemTable::showContextMenu(int row, const QPoint& at) {
    if (menu_) {
        menu_->close();
    }
    const QModelIndex name = rows_->index(row, ItemTableModel::newName);
    const std::string id = fromQString(name.data(ItemTableModel::ItemIdRole).toString());
    const bool isEdited = model_.rules().editedNames().contains(id);
    menu_ = new QMenu(this);
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    menu_->setObjectName("itemMenu");
    QAction* editName = menu_->addAction(ui("Edit New Name"));
    editName->setObjectName("editNewName");
    editName->setShortcut(Qt::Key_F2);
    editName->setShortcutContext(Qt::WidgetShortcut); // shown, F2 itself goes to the table
    editName->setEnabled(name.flags().testFlag(Qt::ItemIsEditable));
    connect(editName, &QAction::triggered, this, [this, name = QPersistentModelIndex(name)] {
        if (name.isValid()) {
            setCurrentIndex(name);
            QTableView::edit(name);
        }
    });
    QAction* useRules = menu_->addAction(ui("Use the Rules’ Name"));
    useRules->setObjectName("useRulesName");
    useRules->setEnabled(isEdited);
    connect(useRules, &QAction::triggered, this, [this, id] { model_.rules().useRulesName(id); });
    menu_->popup(at);
}

// Space toggles the current row's check box, as it does for any check box;
// Shift+F10 opens the row's menu, as the Menu key does.
void ItemTable::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier && current.isValid()) {
        const QRect cell = visualRect(rows_->index(current.row(), ItemTableModel::newName));
        showContextMenu(current.row(), viewport()->mapToGlobal(cell.bottomLeft()));
        return;
    }
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && current.isValid()) {
        const QModelIndex box = rows_->index(current.row(), ItemTableModel::include);
        const bool checked = box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        rows_->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace morvane::app

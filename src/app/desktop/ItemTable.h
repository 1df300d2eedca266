#pragma once

#include <QMenu>
#include <QPointer>
#include <QTableView>

namespace morvane::app {

class AppModel;
class ItemTableModel;

// The item table: one row per row of the window's model, the check box bound
// to the unchecked set, the header's sort order bound to the model's order,
// and the current row bound to the selection. Current Name and New Name
// share the width the other columns leave; when there is too little, the
// columns after them go out of view first, so the status and both names
// stay in sight without scrolling.
// A row's new name is edited in
// place (F2, a double-click on it, or its context menu, which Shift+F10 and
// the Menu key also open), Enter keeping and Escape dropping the edit; the
// context menu also takes an edit back ("Use the Rules' Name").
class ItemTable : public QTableView {
    Q_OBJECT

public:
    explicit ItemTable(AppModel& model, QWidget* parent = nullptr);
    using QTableView::edit;

    ItemTableModel& tableModel() const { return *rows_; }
    // At least as wide as the check box, the status and both names at their
    // narrowest: the window's other columns give way before the table does.
    QSize minimumSizeHint() const override;
    // With room for both names to be read comfortably: what the window's
    // other columns give way to.
    QSize sizeHint() const override;
    // The row's context menu, open until an action is chosen or it is closed; null when none is.
    QMenu* contextMenu() const { return menu_; }

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Editing from the keyboard edits the new name, whichever cell is current.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void retranslate();
    void fitColumns();
    void placePathColumn();
    void fitNames();
    int nameWidth(int ems, bool withTitle) const;
    int nameMinimum() const;
    int widthWithNamesOf(int nameWidth) const;
    void showModelOrder();
    void showModelSelection();
    void sortRequested(int column, Qt::SortOrder order);
    void showContextMenu(int row, const QPoint& at);

    AppModel& model_;
    ItemTableModel* rows_;
    QPointer<QMenu> menu_;
    bool syncing_ = false;
};

} // namespace morvane::app

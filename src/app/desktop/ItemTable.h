#pragma once

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
class ItemTable : public QTableView {
    Q_OBJECT

public:
    explicit ItemTable(AppModel& model, QWidget* parent = nullptr);

    ItemTableModel& tableModel() const { return *rows_; }
    // At least as wide as the check box, the status and both names at their
    // narrowest: the window's other columns give way before the table does.
    QSize minimumSizeHint() const override;
    // With room for both names to be read comfortably: what the window's
    // other columns give way to.
    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void retranslate();
    void fitColumns();
    void fitNames();
    int nameWidth(int ems, bool withTitle) const;
    int nameMinimum() const;
    int widthWithNamesOf(int nameWidth) const;
    void showModelOrder();
    void showModelSelection();
    void sortRequested(int column, Qt::SortOrder order);

    AppModel& model_;
    ItemTableModel* rows_;
    bool syncing_ = false;
};

} // namespace morvane::app

#pragma once

#include <QTableView>

namespace morvane::app {

class AppModel;
class ItemTableModel;

// The item table: one row per row of the window's model, the check box bound
// to the unchecked set, the header's sort order bound to the model's order,
// and the current row bound to the selection.
class ItemTable : public QTableView {
    Q_OBJECT

public:
    explicit ItemTable(AppModel& model, QWidget* parent = nullptr);

    ItemTableModel& tableModel() const { return *rows_; }

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void retranslate();
    void fitColumns();
    void showModelOrder();
    void showModelSelection();
    void sortRequested(int column, Qt::SortOrder order);

    AppModel& model_;
    ItemTableModel* rows_;
    bool syncing_ = false;
};

} // namespace morvane::app

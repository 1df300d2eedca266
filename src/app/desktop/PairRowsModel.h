#pragma once

#include "app/model/ListRow.h"

#include <QAbstractTableModel>
#include <cstddef>
#include <vector>

namespace morvane::app {

// The rows of the pair-list editor: a switch, the find text (or pattern), the
// replacement and the row's number of matches. Edits change the rows here and
// announce them with `rowsEdited`, which the sheet writes back to the rule.
class PairRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { enabled, find, with, matches, columnCount_ };

    PairRowsModel(bool isRegex, QObject* parent = nullptr);

    const ListRows& rows() const { return rows_; }
    // Replaces every row (an addition, a removal, a paste).
    void setRows(ListRows rows);
    void setMatchCounts(std::vector<std::size_t> counts);
    void retranslate();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void rowsEdited();

private:
    bool isRegex_;
    ListRows rows_;
    std::vector<std::size_t> counts_;
};

} // namespace morvane::app

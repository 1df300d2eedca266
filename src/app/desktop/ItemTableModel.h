#pragma once

#include "app/desktop/DiffText.h"
#include "app/model/AppModel.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QLocale>
#include <optional>

namespace morvane::app {

// The item table's rows, read from the window's model as they are drawn:
// nothing is worked out per row before the view asks for it, so a table of
// 100,000 items costs what its visible rows cost. The highlighted spans of a
// new name come from a diff made on demand and kept for the rows last drawn.
class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { include, status, currentName, newName, kind, modified, size, path, columnCount_ };
    // The new name's spans (a DiffText), and the item's id.
    enum Role { NewNameTextRole = Qt::UserRole + 1, ItemIdRole };

    explicit ItemTableModel(AppModel& model, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The sort field a column's header sets, for the columns that sort.
    static std::optional<SortField> sortField(int column);
    static int column(SortField field);

    // The new name's spans, from the diff of the row's old and new names.
    const DiffText& newNameText(int row) const;
    // Texts and formats follow the interface language.
    void retranslate();
    // A long date and long sizes as the table writes them, to size columns by.
    QString sampleDate() const;
    QStringList sampleSizes() const;

private:
    void reset();
    QVariant statusData(const Row& row, int role) const;
    QString dateText(Date date) const;
    // What drawing a row takes work to make, kept for the rows last drawn.
    struct DrawnRow {
        DiffText newName;
        QString modified;
    };
    const DrawnRow& drawn(int row) const;

    AppModel& model_;
    QLocale locale_;
    mutable QCache<int, DrawnRow> drawn_;
};

} // namespace morvane::app

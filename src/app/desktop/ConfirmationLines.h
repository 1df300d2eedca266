#pragma once

#include "app/desktop/DiffText.h"

#include <QAbstractListModel>
#include <QCache>

namespace morvane::app {

class WindowPreview;

// The confirmation sheet's lines, one per item to rename, read from the
// window's model as they are drawn: a sheet of 100,000 renames costs what its
// visible lines cost. Each line's highlighted old and new names come from a
// diff made when it is first drawn and kept for the lines last drawn.
class ConfirmationLines : public QAbstractListModel {
    Q_OBJECT

public:
    // A line's old and new names with their spans (a const Line*).
    enum Role { LineRole = Qt::UserRole + 1 };

    struct Line {
        DiffText oldName;
        DiffText newName;
    };

    explicit ConfirmationLines(const WindowPreview& preview, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const Line& line(int row) const;

private:
    void reset();

    const WindowPreview& preview_;
    int count_ = 0;
    mutable QCache<int, Line> drawn_;
};

} // namespace morvane::app

Q_DECLARE_METATYPE(const morvane::app::ConfirmationLines::Line*)

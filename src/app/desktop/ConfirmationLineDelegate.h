#pragma once

#include <QStyledItemDelegate>

namespace morvane::app {

// Draws a confirmation line: the old name with what goes away marked, an
// arrow, and the new name with what comes in marked; the two names each take
// half the line and are shortened in the middle where they do not fit. A line
// of an item in conflict begins with its status symbol and ends with the reason.
class ConfirmationLineDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace morvane::app

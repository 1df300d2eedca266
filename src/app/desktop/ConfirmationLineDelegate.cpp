#include "app/desktop/ConfirmationLineDelegate.h"

#include "app/desktop/ConfirmationLines.h"
#include "app/desktop/Icons.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace morvane::app {
namespace {

constexpr int kPadding = 8;
constexpr int kArrow = 14;
constexpr int kArrowGap = 10;
constexpr int kSymbol = 14;
constexpr int kSymbolGap = 6;

} // namespace

void ConfirmationLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    // The lines are read, not chosen: no current line is marked.
    cell.state &= ~QStyle::State_HasFocus;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const auto* line = index.data(ConfirmationLines::LineRole).value<const ConfirmationLines::Line*>();
    if (line == nullptr) {
        return;
    }
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor color = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    QRect area = option.rect.adjusted(kPadding, 0, -kPadding, 0);
    // While items are in conflict every line keeps room for a status symbol
    // and a reason, so the arrows line up down the list.
    const auto* lines = qobject_cast<const ConfirmationLines*>(index.model());
    if (lines != nullptr && lines->hasConflicts()) {
        if (!line->conflictSymbol.isEmpty()) {
            Icons::statusSymbol(line->conflictSymbol)
                .paint(painter,
                       QRect(area.left(), area.top() + (area.height() - kSymbol) / 2, kSymbol, kSymbol));
        }
        area.setLeft(area.left() + kSymbol + kSymbolGap);
        const int reasonWidth = area.width() * 2 / 5;
        const QRect reason(area.right() - reasonWidth + 1, area.top(), reasonWidth, area.height());
        painter->save();
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        painter->setFont(option.font);
        painter->drawText(
            reason, Qt::AlignVCenter | Qt::AlignLeft,
            QFontMetrics(option.font).elidedText(line->conflictReason, Qt::ElideRight, reasonWidth));
        painter->restore();
        area.setRight(reason.left() - kArrowGap);
    }
    const int middle = area.left() + area.width() / 2;
    const QRect oldRect(area.left(), area.top(), middle - kArrow / 2 - kArrowGap - area.left(),
                        area.height());
    const QRect arrowRect(middle - kArrow / 2, area.top() + (area.height() - kArrow) / 2, kArrow, kArrow);
    const QRect newRect(middle + kArrow / 2 + kArrowGap, area.top(),
                        area.right() - (middle + kArrow / 2 + kArrowGap) + 1, area.height());
    line->oldName.paint(*painter, oldRect, option.font, option.palette, color);
    QColor arrowColor = option.palette.color(QPalette::PlaceholderText);
    Icons::symbol("arrow.right", selected ? color : arrowColor).paint(painter, arrowRect);
    line->newName.paint(*painter, newRect, option.font, option.palette, color);
}

QSize ConfirmationLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), option.fontMetrics.height() + 8};
}

} // namespace morvane::app

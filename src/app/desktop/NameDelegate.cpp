#include "app/desktop/NameDelegate.h"

#include "app/desktop/DiffText.h"
#include "app/desktop/ItemTableModel.h"
#include "app/model/AppSettings.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace morvane::app {

NameDelegate::NameDelegate(const AppSettings& settings, QObject* parent)
    : QStyledItemDelegate(parent), settings_(settings) {}

void NameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (index.column() != ItemTableModel::newName || !settings_.highlightChanges()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const auto* text = index.data(ItemTableModel::NewNameTextRole).value<const DiffText*>();
    const bool changed =
        text != nullptr && std::any_of(text->pieces().begin(), text->pieces().end(),
                                       [](const auto& piece) { return piece.kind != NameDiff::Kind::equal; });
    if (!changed) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget).adjusted(2, 0, -2, 0);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor color = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    text->paint(*painter, textRect, option.font, option.palette, color);
}

} // namespace morvane::app

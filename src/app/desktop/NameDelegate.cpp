#include "app/desktop/NameDelegate.h"

#include "app/desktop/DiffText.h"
#include "app/desktop/ItemTableModel.h"
#include "app/desktop/UiText.h"
#include "app/model/AppSettings.h"
#include "engine/core/FileName.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>

namespace morvane::app {
namespace {

// The stem's length in the field's own units, until the field has the focus.
constexpr const char* kStemLength = "morvaneStemLength";

} // namespace

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

QWidget* NameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor != nullptr) {
        editor->setObjectName("newNameEditor");
        editor->setAccessibleName(ui("New Name"));
    }
    return editor;
}

void NameDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* field = qobject_cast<QLineEdit*>(editor);
    if (field == nullptr) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QString name = index.data(Qt::EditRole).toString();
    field->setText(name);
    // Selected up to the extension, so typing replaces the stem and keeps it.
    // The view selects the whole text after this, so the selection is made
    // when the field takes the focus.
    const QString stem = toQString(FileName::parsing(fromQString(name)).stem);
    field->setProperty(kStemLength, static_cast<int>(stem.size()));
}

bool NameDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched);
            field && field->property(kStemLength).isValid()) {
            const bool handled = QStyledItemDelegate::eventFilter(watched, event);
            field->setSelection(0, field->property(kStemLength).toInt());
            field->setProperty(kStemLength, QVariant());
            return handled;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

} // namespace morvane::app

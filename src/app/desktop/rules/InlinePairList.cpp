#include "app/desktop/rules/InlinePairList.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/desktop/rules/EditorControls.h"
#include "app/desktop/rules/FocusOrder.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace morvane::app {

InlinePairList::InlinePairList(const QString& findLabel, const QString& withLabel, QWidget* parent)
    : QWidget(parent), findLabel_(findLabel), withLabel_(withLabel), layout_(new QVBoxLayout(this)) {
    setObjectName("pairRows");
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(4);
}

InlinePairList::Row InlinePairList::makeRow(int index) {
    Row row{new QWidget, new QCheckBox, EditorControls::textField(findLabel_),
            EditorControls::textField(withLabel_, ui("with")), new QToolButton};
    auto* layout = new QHBoxLayout(row.widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    row.enabled->setAccessibleName(ui("Enabled"));
    auto* arrow = EditorControls::symbol("arrow.right");
    row.remove->setIcon(Icons::symbol("minus.circle"));
    row.remove->setToolTip(ui("Remove row"));
    row.remove->setAccessibleName(ui("Remove row"));
    row.remove->setAutoRaise(true);
    row.remove->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(row.enabled);
    layout->addWidget(row.find, 1);
    layout->addWidget(arrow);
    layout->addWidget(row.with, 1);
    layout->addWidget(row.remove);

    // The row's place is read when the signal is sent: rows are only ever
    // added or removed at the end of this list.
    const auto send = [this, index] {
        const Row& current = rows_[static_cast<std::size_t>(index)];
        emit rowEdited(index, current.find->text(), current.with->text(), current.enabled->isChecked());
    };
    connect(row.enabled, &QCheckBox::toggled, this, send);
    connect(row.find, &QLineEdit::textEdited, this, send);
    connect(row.with, &QLineEdit::textEdited, this, send);
    connect(row.remove, &QToolButton::clicked, this, [this, index] { emit removeRequested(index); });
    return row;
}

void InlinePairList::showRows(const ListRows& rows) {
    while (rows_.size() > rows.size()) {
        QWidget* gone = rows_.back().widget;
        rows_.pop_back();
        gone->hide();
        gone->deleteLater(); // the click that removed it may still be on its way out
    }
    while (rows_.size() < rows.size()) {
        rows_.push_back(makeRow(static_cast<int>(rows_.size())));
        layout_->addWidget(rows_.back().widget);
        rows_.back().widget->show();
        if (rows_.size() > 1) {
            std::vector<QWidget*> order = FocusOrder::stops(rows_[rows_.size() - 2].widget);
            const auto added = FocusOrder::stops(rows_.back().widget);
            order.insert(order.end(), added.begin(), added.end());
            FocusOrder::chain(order);
        }
    }
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const Row& row = rows_[index];
        EditorControls::showChecked(row.enabled, rows[index].isEnabled);
        EditorControls::showText(row.find, rows[index].find);
        EditorControls::showText(row.with, rows[index].with);
    }
}

} // namespace morvane::app

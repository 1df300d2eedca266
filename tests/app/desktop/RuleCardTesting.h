#pragma once

#include "DesktopTesting.h"
#include "app/desktop/ItemTable.h"
#include "app/desktop/ItemTableModel.h"
#include "app/desktop/RulePanel.h"
#include "app/desktop/rules/RuleCard.h"
#include "app/desktop/rules/RuleCardFooter.h"
#include "app/desktop/rules/RuleCardHeader.h"
#include "app/desktop/rules/RuleEditor.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace morvane::app::testing {

inline RuleCard* card(MainWindow& window, std::size_t index) {
    const auto& cards = window.rulePanel()->cards();
    return index < cards.size() ? cards[index] : nullptr;
}

// The control a user would find by its label: a field or menu by the name
// it is announced by, a check box or button by its title. Only shown ones.
template <typename Widget>
Widget* control(QWidget* root, const QString& name) {
    for (Widget* widget : root->findChildren<Widget*>()) {
        const bool named = widget->accessibleName() == name;
        bool titled = false;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            titled = button->text() == name;
        }
        if ((named || titled) && widget->isVisibleTo(root)) {
            return widget;
        }
    }
    return nullptr;
}

// An entry of the card's menu ("Move Up", "Duplicate"…).
inline QAction* menuEntry(RuleCard* card, const QString& text) {
    for (QAction* action : card->header()->menu()->actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

// Replaces a field's text by typing, as a user selecting all and typing over it.
inline void typeOver(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(field, text);
    }
}

// The New Name the table shows for the item named `name`.
inline QString newNameOf(MainWindow& window, const QString& name) {
    QAbstractItemModel* rows = window.table()->model();
    for (int row = 0; row < rows->rowCount(); ++row) {
        if (rows->index(row, ItemTableModel::currentName).data().toString() == name) {
            return rows->index(row, ItemTableModel::newName).data().toString();
        }
    }
    return {};
}

template <typename Rule>
const Rule& ruleAt(MainWindow& window, std::size_t index) {
    return std::get<Rule>(window.model().rules().entries().at(index).rule);
}

} // namespace morvane::app::testing

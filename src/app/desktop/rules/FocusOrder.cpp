#include "app/desktop/rules/FocusOrder.h"

#include <QWidget>

namespace morvane::app::FocusOrder {

std::vector<QWidget*> stops(QWidget* root) {
    std::vector<QWidget*> found;
    for (QWidget* widget = root->nextInFocusChain(); widget != root; widget = widget->nextInFocusChain()) {
        if (root->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            found.push_back(widget);
        }
    }
    return found;
}

void chain(const std::vector<QWidget*>& sequence) {
    for (std::size_t index = 1; index < sequence.size(); ++index) {
        QWidget::setTabOrder(sequence[index - 1], sequence[index]);
    }
}

} // namespace morvane::app::FocusOrder

#pragma once

#include <vector>

class QWidget;

namespace morvane::app {

// Tab order for widgets made after their neighbours. A widget joins the end
// of its window's tab order when it is made, so a card added, an editor
// opened or a pair row added would be reached last; these put them in place.
namespace FocusOrder {

// The widgets inside `root` that Tab stops at, in the order Tab visits them now.
std::vector<QWidget*> stops(QWidget* root);
// Makes Tab visit the widgets in this order, one after the other.
void chain(const std::vector<QWidget*>& sequence);

} // namespace FocusOrder
} // namespace morvane::app

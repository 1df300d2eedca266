#pragma once

class QLabel;
class QVBoxLayout;
class QWidget;

namespace morvane::app {

// What the sheets of renaming and presets share in their look.
namespace SheetStyle {

// The sheet's content column, with the margins and spacing of every sheet.
QVBoxLayout* column(QWidget* sheet);
// The sheet's heading: its title larger and bold (a sheet has no title bar
// of its own on every platform).
QLabel* title(QLabel* label);

} // namespace SheetStyle
} // namespace morvane::app

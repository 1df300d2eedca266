#pragma once

class QWidget;

namespace morvane::app {

// Where a window opens over another: centred on it, and moved as little as
// it takes to be wholly on that window's screen (a window near the screen's
// edge, or a sheet larger than its window, would otherwise leave part of it
// out of reach).
namespace WindowPlacement {

// Moves `placed`, not yet shown, centred over `over`; a `placed` never
// resized takes its preferred size first.
void centre(QWidget& placed, const QWidget& over);

} // namespace WindowPlacement
} // namespace morvane::app

#pragma once

#include <QColor>
#include <QPalette>

namespace morvane::app {

// The colours of change highlighting, chosen for the palette in effect so
// that they read in light and in dark appearance: insertions, deletions and
// replacements each with a background (and a text colour where the text
// stays on it).
namespace MV {

bool isDark(const QPalette& palette);

QColor insBg(const QPalette& palette);
QColor insFg(const QPalette& palette);
QColor delBg(const QPalette& palette);
QColor chgBg(const QPalette& palette);
QColor chgFg(const QPalette& palette);

} // namespace MV
} // namespace morvane::app

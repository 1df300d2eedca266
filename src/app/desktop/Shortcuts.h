#pragma once

#include <QKeySequence>

namespace morvane::app {

// The shortcuts that controls and texts name besides the menus: ⌘ is Ctrl
// here and Command on a Mac, ⌥ is Alt (Option).
namespace Shortcuts {

inline QKeySequence criteria() {
    return QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R);
}

inline QKeySequence highlight() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H);
}

} // namespace Shortcuts
} // namespace morvane::app

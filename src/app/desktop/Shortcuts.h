#pragma once

#include <QKeySequence>
#include <QString>

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

// Takes the last rename back.
inline QKeySequence undo() {
    return QKeySequence(Qt::CTRL | Qt::Key_Z);
}

// The favourite presets' shortcuts, `number` from 1 to 9: Control+Command on
// a Mac; Ctrl+Alt elsewhere, where the Super key belongs to the desktop.
inline QKeySequence favorite(int number) {
#ifdef Q_OS_MACOS
    const Qt::KeyboardModifiers modifiers = Qt::MetaModifier | Qt::ControlModifier;
#else
    const Qt::KeyboardModifiers modifiers = Qt::ControlModifier | Qt::AltModifier;
#endif
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(Qt::Key_1 + number - 1)));
}

// Their range as the platform writes it: "Ctrl+Alt+1–9", "⌃⌘1–9".
inline QString favoriteRange() {
    return favorite(1).toString(QKeySequence::NativeText) + QStringLiteral("\u20139");
}

} // namespace Shortcuts
} // namespace morvane::app

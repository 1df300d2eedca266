#pragma once

#include "app/model/Localizer.h"
#include "app/model/QtStrings.h"

#include <QKeySequence>
#include <QString>
#include <string_view>
#include <utility>

namespace morvane::app {

// The window's texts: looked up by their English wording in the interface
// language at the moment they are shown.
inline QString ui(std::string_view key) {
    return toQString(Localizer::text(key));
}

template <typename... Arguments>
QString uiFormat(std::string_view key, Arguments&&... arguments) {
    return toQString(Localizer::format(key, std::forward<Arguments>(arguments)...));
}

// A shortcut as the platform writes it ("Ctrl+Alt+R" here, "⌥⌘R" on a Mac).
inline QString nativeShortcut(const QKeySequence& shortcut) {
    return shortcut.toString(QKeySequence::NativeText);
}

} // namespace morvane::app

#include "app/desktop/UndoPassThrough.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace morvane::app {

// A shortcut override the field does not accept goes on to the shortcuts.
bool UndoPassThrough::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        if (const auto* field = qobject_cast<QLineEdit*>(watched);
            field != nullptr && !field->isUndoAvailable()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace morvane::app

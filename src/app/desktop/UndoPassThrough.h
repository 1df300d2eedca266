#pragma once

#include <QObject>

namespace morvane::app {

// Ctrl+Z (the platform's Undo key) in a text field undoes the typing in it;
// a field with nothing of its own to undo would still take the key, and the
// window's Undo Rename, which the confirmation promised, would never hear it.
// Installed on the application, this lets the key through to the window's
// commands whenever the field in focus has nothing to undo.
class UndoPassThrough : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace morvane::app

#include "app/desktop/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace morvane::app::WindowPlacement {

void centre(QWidget& placed, const QWidget& over) {
    if (!placed.testAttribute(Qt::WA_Resized)) {
        placed.adjustSize();
    }
    // The frame is the window manager's; a window not shown yet is assumed
    // to get one like the window it opens over.
    const QRect overFrame = over.frameGeometry();
    const QSize frameExtra = overFrame.size() - over.geometry().size();
    QRect frame(QPoint(), placed.size() + frameExtra);
    frame.moveCenter(overFrame.center());
    const QScreen* screen = over.screen();
    if (screen != nullptr) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width())));
        frame.moveTop(std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height())));
    }
    placed.move(frame.topLeft());
}

} // namespace morvane::app::WindowPlacement

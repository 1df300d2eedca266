#include "app/desktop/DropHighlight.h"

#include <QPainter>

namespace morvane::app {

DropHighlight::DropHighlight(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void DropHighlight::showOver(QWidget* area) {
    setGeometry(QRect(area->mapTo(parentWidget(), QPoint(0, 0)), area->size()));
    raise();
    show();
}

void DropHighlight::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor accent = palette().color(QPalette::Highlight);
    QColor wash = accent;
    wash.setAlpha(28);
    painter.setBrush(wash);
    painter.setPen(QPen(accent, 3));
    painter.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), 8, 8);
}

} // namespace morvane::app

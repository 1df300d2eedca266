#include "app/desktop/rules/SegmentPreview.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace morvane::app {
namespace {

constexpr int kPadding = 3; // around the marked part

} // namespace

SegmentPreview::SegmentPreview(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(fontMetrics().height() + 2 * kPadding);
}

void SegmentPreview::setParts(const QString& before, const QString& selected, const QString& after) {
    if (before == before_ && selected == selected_ && after == after_) {
        return;
    }
    before_ = before;
    selected_ = selected;
    after_ = after;
    setAccessibleName(before_ + selected_ + after_);
    setAccessibleDescription(selected_);
    updateGeometry();
    update();
}

QSize SegmentPreview::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(before_ + selected_ + after_) + 4 * kPadding,
            metrics.height() + 2 * kPadding};
}

QSize SegmentPreview::minimumSizeHint() const {
    return {4 * kPadding, sizeHint().height()};
}

void SegmentPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    const int room = width() - 2 * kPadding;
    // An empty part still shows where it is.
    const int emptyMark = metrics.horizontalAdvance(QLatin1Char(' '));
    int selectedWidth = selected_.isEmpty() ? emptyMark : metrics.horizontalAdvance(selected_);
    int beforeWidth = metrics.horizontalAdvance(before_);
    int afterWidth = metrics.horizontalAdvance(after_);
    QString selected = selected_;
    if (beforeWidth + selectedWidth + afterWidth > room) {
        // The marked part keeps up to two thirds of the room; the rest is shared.
        if (selectedWidth > room * 2 / 3) {
            selected = metrics.elidedText(selected_, Qt::ElideMiddle, room * 2 / 3);
            selectedWidth = metrics.horizontalAdvance(selected);
        }
        const int rest = std::max(0, room - selectedWidth);
        const int total = std::max(1, beforeWidth + afterWidth);
        if (beforeWidth + afterWidth > rest) {
            // In proportion: each side keeps its share of what is left.
            const int beforeRoom = rest * beforeWidth / total;
            afterWidth = rest - beforeRoom;
            beforeWidth = beforeRoom;
        }
    }
    // Elided only where squeezed: a text measured to fit is drawn as it is.
    const bool squeezed = selected != selected_ || beforeWidth < metrics.horizontalAdvance(before_) ||
                          afterWidth < metrics.horizontalAdvance(after_);
    const QString before = squeezed ? metrics.elidedText(before_, Qt::ElideLeft, beforeWidth) : before_;
    const QString after = squeezed ? metrics.elidedText(after_, Qt::ElideRight, afterWidth) : after_;
    beforeWidth = metrics.horizontalAdvance(before);

    const int baseline = kPadding + metrics.ascent();
    const QColor secondary = palette().color(QPalette::PlaceholderText);
    // Flush with the text around it, unless the mark starts the name.
    int x = before.isEmpty() ? kPadding : 0;
    painter.setPen(secondary);
    painter.drawText(x, baseline, before);
    x += beforeWidth;

    QColor mark = palette().color(QPalette::Highlight);
    mark.setAlpha(70);
    QPainterPath box;
    box.addRoundedRect(QRectF(x - 1, 1, selectedWidth + 2, height() - 2), 3, 3);
    painter.fillPath(box, mark);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(x, baseline, selected);
    x += selectedWidth;

    painter.setPen(secondary);
    painter.drawText(x, baseline, after);
}

} // namespace morvane::app

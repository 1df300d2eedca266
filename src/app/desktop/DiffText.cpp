#include "app/desktop/DiffText.h"

#include "app/desktop/MV.h"
#include "app/model/ChangeText.h"
#include "app/model/QtStrings.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace morvane::app {
namespace {

QTextCharFormat formatFor(NameDiff::Kind kind, DiffText::Side side, const QPalette& palette) {
    QTextCharFormat format;
    const bool oldSide = side == DiffText::Side::oldName;
    switch (kind) {
    case NameDiff::Kind::equal:
        break;
    case NameDiff::Kind::caseChange:
        format.setUnderlineStyle(QTextCharFormat::DotLine);
        break;
    case NameDiff::Kind::added:
        format.setBackground(MV::insBg(palette));
        format.setForeground(MV::insFg(palette));
        format.setFontWeight(QFont::Bold);
        break;
    case NameDiff::Kind::removed:
        format.setFontStrikeOut(true);
        format.setBackground(MV::delBg(palette));
        break;
    case NameDiff::Kind::replaced:
        format.setBackground(MV::chgBg(palette));
        if (oldSide) {
            format.setFontStrikeOut(true);
        } else {
            format.setForeground(MV::chgFg(palette));
            format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        }
        break;
    }
    return format;
}

} // namespace

DiffText::DiffText(const NameDiff& diff, Side side) : side_(side) {
    for (const NameDiff::Span& span : side == Side::oldName ? diff.oldSide() : diff.newSide()) {
        const std::string& text = side == Side::oldName ? span.old : span.new_;
        pieces_.push_back({toQString(text), span.kind, toQString(ChangeText::shown(text, span.kind))});
    }
}

DiffText DiffText::sample(const QString& word, NameDiff::Kind kind, Side side) {
    DiffText text;
    text.pieces_.push_back({word, kind, word});
    text.side_ = side;
    return text;
}

QString DiffText::plainText() const {
    QString text;
    for (const Piece& piece : pieces_) {
        text += piece.text;
    }
    return text;
}

QString DiffText::shownText() const {
    QString text;
    for (const Piece& piece : pieces_) {
        text += piece.shown;
    }
    return text;
}

int DiffText::width(const QFont& font) const {
    QTextLayout layout;
    lay(layout, font, nullptr, QPalette());
    return static_cast<int>(std::ceil(layout.lineAt(0).naturalTextWidth())) + 1;
}

void DiffText::lay(QTextLayout& layout, const QFont& font, QPaintDevice* device,
                   const QPalette& palette) const {
    QList<QTextLayout::FormatRange> ranges;
    int start = 0;
    for (const Piece& piece : pieces_) {
        const int length = static_cast<int>(piece.shown.size());
        if (piece.kind != NameDiff::Kind::equal && length > 0) {
            ranges.append({start, length, formatFor(piece.kind, side_, palette)});
        }
        start += length;
    }
    layout.setText(shownText());
    layout.setFont(device ? QFont(font, device) : font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setFormats(ranges);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(1e6);
    }
    layout.endLayout();
}

void DiffText::paint(QPainter& painter, const QRect& rect, const QFont& font, const QPalette& palette,
                     const QColor& textColor) const {
    QTextLayout layout;
    lay(layout, font, painter.device(), palette);
    if (layout.lineCount() == 0) {
        return;
    }
    const QTextLine line = layout.lineAt(0);
    const qreal top = rect.top() + (rect.height() - line.height()) / 2.0;
    const qreal total = line.naturalTextWidth();
    const auto drawPart = [&](const QRectF& clip, qreal x) {
        painter.save();
        painter.setPen(textColor);
        painter.setClipRect(clip, Qt::IntersectClip);
        layout.draw(&painter, QPointF(x, top));
        painter.restore();
    };
    if (total <= rect.width()) {
        drawPart(rect, rect.left());
        return;
    }
    // Too long: the beginning and the end, each cut where a character ends,
    // with "…" between them.
    const QString ellipsis = QStringLiteral("\u2026");
    const qreal ellipsisWidth = QFontMetricsF(font, painter.device()).horizontalAdvance(ellipsis);
    const qreal budget = std::max<qreal>(0, rect.width() - ellipsisWidth);
    const int length = static_cast<int>(layout.text().size());
    int cut = 0;
    for (int next = layout.nextCursorPosition(cut);
         next > cut && next <= length && line.cursorToX(next) <= budget / 2;
         next = layout.nextCursorPosition(cut)) {
        cut = next;
    }
    const qreal leftWidth = line.cursorToX(cut);
    int resume = length;
    for (int previous = layout.previousCursorPosition(resume);
         previous < resume && previous >= cut && total - line.cursorToX(previous) <= budget - leftWidth;
         previous = layout.previousCursorPosition(resume)) {
        resume = previous;
    }
    const qreal rightWidth = total - line.cursorToX(resume);
    drawPart(QRectF(rect.left(), rect.top(), leftWidth, rect.height()), rect.left());
    const qreal rightStart = rect.left() + leftWidth + ellipsisWidth;
    drawPart(QRectF(rightStart, rect.top(), rightWidth, rect.height()), rightStart - line.cursorToX(resume));
    painter.save();
    painter.setPen(textColor);
    painter.setFont(font);
    painter.drawText(QRectF(rect.left() + leftWidth, rect.top(), ellipsisWidth, rect.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, ellipsis);
    painter.restore();
}

} // namespace morvane::app

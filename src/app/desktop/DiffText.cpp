#include "app/desktop/DiffText.h"

#include "app/desktop/MV.h"
#include "app/model/QtStrings.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
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
        pieces_.push_back({toQString(side == Side::oldName ? span.old : span.new_), span.kind});
    }
}

QString DiffText::plainText() const {
    QString text;
    for (const Piece& piece : pieces_) {
        text += piece.text;
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
        const int length = static_cast<int>(piece.text.size());
        if (piece.kind != NameDiff::Kind::equal && length > 0) {
            ranges.append({start, length, formatFor(piece.kind, side_, palette)});
        }
        start += length;
    }
    layout.setText(plainText());
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

    const QFontMetrics metrics(font);
    const qreal top = rect.top() + (rect.height() - line.height()) / 2.0;
    painter.save();
    painter.setPen(textColor);
    const bool fits = line.naturalTextWidth() <= rect.width();
    const QString ellipsis = QStringLiteral("\u2026");
    const int ellipsisWidth = metrics.horizontalAdvance(ellipsis);
    QRect clip = rect;
    if (!fits) {
        clip.setWidth(std::max(0, rect.width() - ellipsisWidth));
    }
    painter.setClipRect(clip, Qt::IntersectClip);
    layout.draw(&painter, QPointF(rect.left(), top));
    painter.restore();
    if (!fits) {
        painter.save();
        painter.setPen(textColor);
        painter.setFont(font);
        painter.drawText(QRect(clip.right() + 1, rect.top(), ellipsisWidth, rect.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, ellipsis);
        painter.restore();
    }
}

} // namespace morvane::app

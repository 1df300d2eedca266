#pragma once

#include "engine/core/NameDiff.h"

#include <QFont>
#include <QMetaType>
#include <QPalette>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;
class QPaintDevice;
class QTextLayout;

namespace morvane::app {

// A name drawn span by span from its diff: the old name from the old side,
// the new name from the new side, each kind of change with its own marks
// (dotted underline for letter case, bold on the insertion colours for added
// text, struck through on the deletion colour for removed text, and the
// change colours for replaced text, struck through on the old side and
// underlined on the new).
class DiffText {
public:
    enum class Side { oldName, newName };

    struct Piece {
        QString text;
        NameDiff::Kind kind = NameDiff::Kind::equal;
        QString shown; // the text as drawn, with its changed spaces visible
    };

    DiffText() = default;
    DiffText(const NameDiff& diff, Side side);
    // A word in the marks of one kind of change (the legend's samples), drawn as written.
    static DiffText sample(const QString& word, NameDiff::Kind kind, Side side);

    const std::vector<Piece>& pieces() const { return pieces_; }
    // The name itself, and the name as drawn.
    QString plainText() const;
    QString shownText() const;

    // Draws on one line, vertically centred in `rect`; a name too long for
    // it is shortened in the middle ("…"), so its end and extension stay.
    void paint(QPainter& painter, const QRect& rect, const QFont& font, const QPalette& palette,
               const QColor& textColor) const;
    int width(const QFont& font) const;

private:
    void lay(QTextLayout& layout, const QFont& font, QPaintDevice* device, const QPalette& palette) const;

    std::vector<Piece> pieces_;
    Side side_ = Side::newName;
};

} // namespace morvane::app

Q_DECLARE_METATYPE(const morvane::app::DiffText*)

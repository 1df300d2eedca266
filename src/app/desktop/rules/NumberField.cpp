#include "app/desktop/rules/NumberField.h"

#include "app/desktop/Icons.h"
#include "app/desktop/MV.h"
#include "app/desktop/UiText.h"
#include "app/model/IntegerText.h"

#include <QAction>
#include <QPainter>
#include <QSignalBlocker>

namespace morvane::app {

NumberField::NumberField(const QString& label, QWidget* parent)
    : QLineEdit(parent), locale_(Localizer::locale()),
      warning_(new QAction(Icons::statusSymbol("exclamationmark.circle"), ui("Enter a whole number"), this)) {
    setAccessibleName(label);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(this, &QLineEdit::textEdited, this, [this] { read(false); });
    connect(this, &QLineEdit::editingFinished, this, [this] { read(true); });
}

QSize NumberField::sizeHint() const {
    // Room for a few digits and the warning symbol.
    const QSize hint = QLineEdit::sizeHint();
    return {fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + hint.height(), hint.height()};
}

void NumberField::showValue(std::int64_t value) {
    const auto entered = IntegerText::parse(text(), locale_);
    if (entered == value) {
        shown_ = value;
        return;
    }
    // What the user typed stays while it is what kept the rule as it is.
    if (marked_ && shown_ == value) {
        return;
    }
    shown_ = value;
    const QSignalBlocker blocker(this);
    setText(IntegerText::format(value, locale_));
    setMarked(false);
}

void NumberField::read(bool finished) {
    const auto entered = IntegerText::parse(text(), locale_);
    if (!entered) {
        // An empty field is on its way to a number; it is marked once left empty.
        if (finished || !text().trimmed().isEmpty()) {
            setMarked(true);
        }
        return;
    }
    setMarked(false);
    if (finished) {
        const QString written = IntegerText::format(*entered, locale_);
        if (written != text()) {
            const QSignalBlocker blocker(this);
            setText(written);
        }
    }
    if (entered != shown_) {
        shown_ = entered;
        emit valueEdited(*entered);
    }
}

void NumberField::setMarked(bool marked) {
    if (marked_ == marked) {
        return;
    }
    marked_ = marked;
    if (marked) {
        addAction(warning_, QLineEdit::TrailingPosition);
        setToolTip(warning_->text());
        setAccessibleDescription(warning_->text());
    } else {
        removeAction(warning_);
        setToolTip({});
        setAccessibleDescription({});
    }
    update();
}

void NumberField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!marked_) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Icons::statusColor("xmark.octagon.fill", MV::isDark(palette())), 1.5));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 2.5, 2.5);
}

} // namespace morvane::app

#include "app/desktop/MessageBar.h"

#include "app/desktop/Icons.h"
#include "app/desktop/MV.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace morvane::app {

MessageBar::MessageBar(QWidget* parent)
    : QFrame(parent), symbol_(new QLabel), text_(new QLabel), buttons_(new QHBoxLayout) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 7, 10, 7);
    layout->setSpacing(8);
    symbol_->setAlignment(Qt::AlignCenter);
    layout->addWidget(symbol_, 0, Qt::AlignVCenter);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->addWidget(text_, 1);
    buttons_->setSpacing(6);
    layout->addLayout(buttons_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    hide();
}

void MessageBar::setMessage(const QString& text, const QString& symbol, bool warning) {
    text_->setText(text);
    symbolName_ = symbol;
    warning_ = warning;
    showSymbol();
    update();
}

QPushButton* MessageBar::addButton(const QString& objectName) {
    auto* button = new QPushButton;
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    buttons_->addWidget(button, 0, Qt::AlignVCenter);
    return button;
}

void MessageBar::showSymbol() {
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    symbol_->setVisible(!symbolName_.isEmpty());
    if (!symbolName_.isEmpty()) {
        // A symbol with a colour of its own keeps it (a warning, a check mark).
        const bool ownColor = Icons::statusColor(symbolName_, MV::isDark(palette())).isValid();
        const QIcon icon = ownColor ? Icons::statusSymbol(symbolName_)
                                    : Icons::symbol(symbolName_, palette().color(QPalette::Highlight));
        symbol_->setPixmap(icon.pixmap(size, size));
    }
}

void MessageBar::paintBackground(QWidget& widget, bool warning) {
    QPainter painter(&widget);
    const QPalette& palette = widget.palette();
    const bool dark = MV::isDark(palette);
    QColor tint = warning ? Icons::statusColor("exclamationmark.triangle.fill", dark)
                          : palette.color(QPalette::Highlight);
    tint.setAlphaF(dark ? 0.22f : 0.13f);
    painter.fillRect(widget.rect(), palette.color(QPalette::Window));
    painter.fillRect(widget.rect(), tint);
    QColor line = palette.color(QPalette::WindowText);
    line.setAlphaF(0.15f);
    painter.fillRect(QRect(0, widget.height() - 1, widget.width(), 1), line);
}

void MessageBar::paintEvent(QPaintEvent* event) {
    paintBackground(*this, warning_);
    QFrame::paintEvent(event);
}

// The symbol's colour is chosen for the appearance in effect.
void MessageBar::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        showSymbol();
    }
}

} // namespace morvane::app

#include "app/desktop/EmptyStateView.h"

#include "app/desktop/Icons.h"
#include "app/desktop/MV.h"
#include "app/desktop/UiText.h"
#include "app/model/WindowItems.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane::app {

EmptyStateView::EmptyStateView(WindowItems& items, QWidget* parent)
    : QWidget(parent), items_(items), symbol_(new QLabel), title_(new QLabel), message_(new QLabel),
      error_(new QLabel), open_(new QPushButton), progress_(new QProgressBar) {
    setObjectName("emptyState");
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addStretch(1);
    symbol_->setAlignment(Qt::AlignCenter);
    layout->addWidget(symbol_);
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    for (QLabel* label : {title_, message_, error_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    message_->setForegroundRole(QPalette::PlaceholderText);
    error_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    progress_->setRange(0, 0);
    progress_->setMaximumWidth(240);
    progress_->setTextVisible(false);
    layout->addWidget(progress_, 0, Qt::AlignCenter);
    layout->addSpacing(6);
    layout->addWidget(open_, 0, Qt::AlignCenter);
    layout->addStretch(2);
    connect(open_, &QPushButton::clicked, &items_, &WindowItems::chooseAndOpenFolder);
    connect(&items_, &WindowItems::loadErrorChanged, this, &EmptyStateView::showTexts);
    retranslate();
}

void EmptyStateView::setBusy(bool busy) {
    busy_ = busy;
    showTexts();
}

void EmptyStateView::showTexts() {
    const EmptyState state = items_.emptyState();
    symbol_->setPixmap(Icons::symbol(busy_ ? "magnifyingglass" : "folder").pixmap(48, 48));
    title_->setText(busy_ ? ui("Reading the folder\u2026") : toQString(state.title));
    message_->setText(toQString(state.message));
    message_->setVisible(!busy_);
    progress_->setVisible(busy_);
    open_->setText(toQString(state.openButton));
    open_->setVisible(!busy_);
    const bool hasError = !busy_ && state.loadError.has_value();
    error_->setText(hasError ? toQString(*state.loadError) : QString());
    error_->setVisible(hasError);
    QPalette palette = error_->palette();
    palette.setColor(QPalette::WindowText,
                     Icons::statusColor("xmark.octagon.fill", MV::isDark(this->palette())));
    error_->setPalette(palette);
}

// The error's colour is chosen for the appearance in effect.
void EmptyStateView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        showTexts();
    } else if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void EmptyStateView::retranslate() {
    progress_->setAccessibleName(ui("Reading the folder\u2026"));
    showTexts();
}

} // namespace morvane::app

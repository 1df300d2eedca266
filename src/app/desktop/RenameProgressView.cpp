#include "app/desktop/RenameProgressView.h"

#include "app/desktop/MessageBar.h"
#include "app/desktop/UiText.h"
#include "app/model/WindowBatches.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <limits>

namespace morvane::app {

RenameProgressView::RenameProgressView(WindowBatches& batches, Place place, QWidget* parent)
    : QWidget(parent), batches_(batches), place_(place), phase_(new QLabel), bar_(new QProgressBar),
      count_(new QLabel), stop_(new QPushButton) {
    setObjectName(place == Place::sheet ? "sheetProgress" : "windowProgress");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(place == Place::window ? QMargins(12, 7, 10, 7) : QMargins(0, 4, 0, 4));
    layout->setSpacing(10);
    QFont bold = phase_->font();
    bold.setBold(true);
    phase_->setFont(bold);
    layout->addWidget(phase_);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(160);
    layout->addWidget(bar_, 1);
    count_->setForegroundRole(QPalette::PlaceholderText);
    // The count does not make the bar jump as its digits grow.
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("000,000 of 000,000")));
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(count_);
    stop_->setAutoDefault(false);
    stop_->setObjectName("stop");
    layout->addWidget(stop_);
    connect(stop_, &QPushButton::clicked, &batches_, &WindowBatches::stopRenaming);
    connect(&batches_, &WindowBatches::renameProgressChanged, this, &RenameProgressView::showProgress);
    connect(&batches_, &WindowBatches::showConfirmChanged, this, &RenameProgressView::showProgress);
    showProgress();
}

void RenameProgressView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showProgress();
    }
}

void RenameProgressView::showProgress() {
    const auto& progress = batches_.renameProgress();
    // Over the window only while no sheet covers it; the sheet has its own.
    const bool here = place_ == Place::sheet || !batches_.showConfirm();
    setVisible(progress.has_value() && here);
    if (!progress) {
        return;
    }
    phase_->setText(toQString(progress->phaseText));
    count_->setText(toQString(progress->countText));
    constexpr std::size_t most = std::numeric_limits<int>::max();
    bar_->setRange(0, static_cast<int>(std::min(progress->total, most)));
    bar_->setValue(static_cast<int>(std::min(progress->done, most)));
    stop_->setText(toQString(progress->stopButton));
    stop_->setEnabled(progress->canStop);
    bar_->setAccessibleName(toQString(progress->phaseText));
    bar_->setAccessibleDescription(toQString(progress->countText));
}

// Across the window it reads as a bar of its own, like the banners.
void RenameProgressView::paintEvent(QPaintEvent*) {
    if (place_ == Place::window) {
        MessageBar::paintBackground(*this, false);
    }
}

} // namespace morvane::app

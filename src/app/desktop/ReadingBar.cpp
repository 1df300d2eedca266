#include "app/desktop/ReadingBar.h"

#include "app/desktop/MessageBar.h"
#include "app/desktop/UiText.h"
#include "app/model/WindowItems.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace morvane::app {

ReadingBar::ReadingBar(WindowItems& items, QWidget* parent)
    : QWidget(parent), items_(items), title_(new QLabel), bar_(new QProgressBar), count_(new QLabel),
      stop_(new QPushButton) {
    setObjectName("readingBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 7, 10, 7);
    layout->setSpacing(10);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    layout->addWidget(title_);
    bar_->setRange(0, 0);
    bar_->setTextVisible(false);
    bar_->setMaximumWidth(200);
    layout->addWidget(bar_, 1);
    count_->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(count_);
    layout->addStretch(1);
    stop_->setObjectName("stopReading");
    stop_->setAutoDefault(false);
    layout->addWidget(stop_);
    connect(stop_, &QPushButton::clicked, &items_, &WindowItems::stopLoading);
    for (auto changed :
         {&WindowItems::loadingChanged, &WindowItems::loadProgressChanged, &WindowItems::itemsChanged}) {
        connect(&items_, changed, this, &ReadingBar::showProgress);
    }
    showProgress();
}

void ReadingBar::showProgress() {
    setVisible(items_.loading() && !items_.list().empty());
    title_->setText(ui("Reading the folder\u2026"));
    count_->setText(toQString(items_.loadProgressText()));
    stop_->setText(ui("Stop"));
    stop_->setEnabled(items_.canStopLoading());
    bar_->setAccessibleName(title_->text());
    bar_->setAccessibleDescription(count_->text());
    stop_->setAccessibleDescription(ui("Keeps the items read so far"));
}

void ReadingBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showProgress();
    }
}

// Across the window it reads as a bar of its own, like the banners.
void ReadingBar::paintEvent(QPaintEvent*) {
    MessageBar::paintBackground(*this, false);
}

} // namespace morvane::app

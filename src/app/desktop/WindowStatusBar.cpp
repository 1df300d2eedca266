#include "app/desktop/WindowStatusBar.h"

#include "app/desktop/ChangeLegend.h"
#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace morvane::app {

WindowStatusBar::WindowStatusBar(AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), items_(new QLabel), included_(new QLabel), toRename_(new QLabel),
      conflictsIcon_(new QLabel), conflicts_(new QLabel), legend_(new ChangeLegend),
      rename_(new QPushButton) {
    setObjectName("statusBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->setSpacing(12);
    for (QLabel* label : {items_, included_, toRename_}) {
        layout->addWidget(label);
    }
    auto* conflicts = new QHBoxLayout;
    conflicts->setSpacing(4);
    conflicts->addWidget(conflictsIcon_);
    conflicts->addWidget(conflicts_);
    layout->addLayout(conflicts);
    layout->addWidget(legend_, 1);
    layout->addWidget(rename_);
    rename_->setDefault(false);
    rename_->setAutoDefault(false);
    rename_->setMinimumWidth(120);
    WindowBatches& batches = model_.batches();
    connect(rename_, &QPushButton::clicked, this,
            [&batches] { batches.openConfirmation(ConfirmationCommand::rename); });

    connect(&model_.preview(), &WindowPreview::planChanged, this, &WindowStatusBar::showFigures);
    connect(&batches, &WindowBatches::lastTransactionChanged, this, &WindowStatusBar::showFigures);
    connect(&batches, &WindowBatches::busyChanged, this, &WindowStatusBar::showFigures);
    connect(&model_.settings(), &AppSettings::highlightChangesChanged, this, &WindowStatusBar::showFigures);
    retranslate();
}

void WindowStatusBar::showFigures() {
    const StatusBarTexts texts = model_.preview().statusBar();
    items_->setText(toQString(texts.items));
    included_->setText(toQString(texts.included));
    toRename_->setText(toQString(texts.toRename));
    conflicts_->setText(toQString(texts.conflicts));
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    conflictsIcon_->setPixmap(Icons::statusSymbol(toQString(texts.conflictsSymbol)).pixmap(size, size));
    legend_->setVisible(model_.settings().highlightChanges());
    rename_->setText(toQString(model_.batches().renameButtonTitle()));
    rename_->setEnabled(model_.batches().canOpenConfirmation(ConfirmationCommand::rename));
    setAccessibleDescription(figuresText());
}

QString WindowStatusBar::figuresText() const {
    return QStringList{items_->text(), included_->text(), toRename_->text(), conflicts_->text()}.join(
        " \u00B7 ");
}

void WindowStatusBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void WindowStatusBar::retranslate() {
    rename_->setAccessibleName(ui("Rename"));
    showFigures();
}

} // namespace morvane::app

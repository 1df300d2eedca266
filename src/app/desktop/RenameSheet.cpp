#include "app/desktop/RenameSheet.h"

#include "app/desktop/ConfirmationLineDelegate.h"
#include "app/desktop/ConfirmationLines.h"
#include "app/desktop/ElidedLabel.h"
#include "app/desktop/RenameProgressView.h"
#include "app/desktop/SheetStyle.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace morvane::app {

RenameSheet::RenameSheet(AppModel& model, QWidget* parent)
    : QDialog(parent), model_(model), title_(new QLabel), subtitle_(new ElidedLabel(Qt::ElideMiddle)),
      counts_(new QLabel), lines_(new ConfirmationLines(model.preview(), this)), list_(new QListView),
      footer_(new QLabel),
      progress_(new RenameProgressView(model.batches(), RenameProgressView::Place::sheet)) {
    setObjectName("renameSheet");
    resize(760, 540);
    QVBoxLayout* layout = SheetStyle::column(this);
    layout->addWidget(SheetStyle::title(title_));
    subtitle_->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(subtitle_);
    counts_->setWordWrap(true);
    layout->addWidget(counts_);
    layout->addSpacing(6);

    list_->setModel(lines_);
    list_->setItemDelegate(new ConfirmationLineDelegate(list_));
    // Every line is one line high, so the view never measures 100,000 of them.
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setAlternatingRowColors(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(list_, 1);
    layout->addSpacing(4);

    footer_->setWordWrap(true);
    footer_->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(footer_);
    layout->addWidget(progress_);

    auto* buttons = new QDialogButtonBox;
    cancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    skip_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    rename_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    cancel_->setObjectName("cancel");
    skip_->setObjectName("skipConflicting");
    rename_->setObjectName("rename");
    for (QPushButton* button : {cancel_, skip_}) {
        button->setAutoDefault(false);
    }
    rename_->setDefault(true);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    WindowBatches& batches = model_.batches();
    connect(cancel_, &QPushButton::clicked, this, &RenameSheet::reject);
    connect(skip_, &QPushButton::clicked, &model_, &AppModel::skipConflicting);
    // The sheet stays while the batch runs; the model closes it at the end.
    connect(rename_, &QPushButton::clicked, &batches, &WindowBatches::performRename);

    connect(&batches, &WindowBatches::confirmationChanged, this, &RenameSheet::showSheet);
    connect(&batches, &WindowBatches::renameProgressChanged, this, &RenameSheet::showSheet);
    showSheet();
    fitLines();
}

// Tall enough for the lines there are, up to a screenful; a few lines make a
// small sheet.
void RenameSheet::fitLines() {
    const int lineHeight =
        list_->sizeHintForRow(0) > 0 ? list_->sizeHintForRow(0) : fontMetrics().height() + 8;
    const int shown = std::clamp(lines_->rowCount(), 4, 14);
    list_->setMinimumHeight(shown * lineHeight + 2 * list_->frameWidth());
    resize(width(), sizeHint().height());
}

void RenameSheet::showSheet() {
    const ConfirmationSheet sheet =
        model_.batches().confirmationSheet(fromQString(nativeShortcut(Shortcuts::undo())));
    setWindowTitle(toQString(sheet.title));
    title_->setText(toQString(sheet.title));
    subtitle_->setFullText(toQString(sheet.subtitle));
    subtitle_->setVisible(!sheet.subtitle.empty());
    counts_->setText(toQString(sheet.countsLine));
    footer_->setText(toQString(sheet.footer));
    cancel_->setText(toQString(sheet.cancelButton));
    skip_->setText(toQString(sheet.skipButton));
    rename_->setText(toQString(sheet.renameButton));
    cancel_->setEnabled(sheet.canCancel);
    // Skipping is offered only while there are conflicts to skip.
    skip_->setVisible(model_.preview().summary().conflicts > 0);
    skip_->setEnabled(sheet.canSkip);
    rename_->setEnabled(sheet.canRename);
    // Once the batch shows its progress, that says what is happening.
    footer_->setVisible(!model_.batches().renameProgress());
    list_->setAccessibleName(toQString(sheet.countsLine));
}

// Nothing closes the sheet while its rename runs: Escape, Cancel and the
// window's close button wait for the batch (which "Stop" cuts short).
void RenameSheet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showSheet();
    }
}

void RenameSheet::reject() {
    if (!model_.batches().busy()) {
        QDialog::reject();
    }
}

void RenameSheet::closeEvent(QCloseEvent* event) {
    if (model_.batches().busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace morvane::app

#include "app/desktop/ResultBannerView.h"

#include "app/desktop/FileManager.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/WindowBatches.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace morvane::app {

ResultBannerView::ResultBannerView(WindowBatches& batches, std::shared_ptr<FileManager> fileManager,
                                   QWidget* parent)
    : MessageBar(parent), batches_(batches), fileManager_(std::move(fileManager)),
      undo_(addButton("undoRename")), reveal_(addButton("showFolder")), dismiss_(addButton("dismiss")) {
    setObjectName("resultBanner");
    connect(undo_, &QPushButton::clicked, &batches_, &WindowBatches::undoLastRename);
    connect(reveal_, &QPushButton::clicked, this, [this] {
        if (const auto folder = batches_.resultBanner().revealFolder) {
            fileManager_->showFolder(*folder);
        }
    });
    connect(dismiss_, &QPushButton::clicked, this, [this] { batches_.setActionMessage(std::nullopt); });
    connect(&batches_, &WindowBatches::bannerChanged, this, &ResultBannerView::showBanner);
    // Undo is refused while a batch runs.
    connect(&batches_, &WindowBatches::busyChanged, this, &ResultBannerView::showBanner);
    showBanner();
}

void ResultBannerView::changeEvent(QEvent* event) {
    MessageBar::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showBanner();
    }
}

void ResultBannerView::showBanner() {
    const ResultBanner banner = batches_.resultBanner();
    setVisible(banner.isShown);
    if (!banner.isShown) {
        return;
    }
    setMessage(toQString(banner.text),
               banner.isWarning ? QStringLiteral("exclamationmark.triangle.fill")
                                : QStringLiteral("checkmark"),
               banner.isWarning);
    const struct {
        QPushButton* button;
        const std::optional<std::string>& label;
    } buttons[] = {
        {undo_, banner.undoButton}, {reveal_, banner.revealButton}, {dismiss_, banner.dismissButton}};
    for (const auto& [button, label] : buttons) {
        button->setVisible(label.has_value());
        button->setText(label ? toQString(*label) : QString());
    }
    undo_->setEnabled(!batches_.busy());
    undo_->setToolTip(QStringLiteral("%1 (%2)").arg(undo_->text(), nativeShortcut(Shortcuts::undo())));
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

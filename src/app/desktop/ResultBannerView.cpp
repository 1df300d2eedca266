#include "app/desktop/ResultBannerView.h"

#include "app/desktop/FileManager.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QLabel>
#include <QPushButton>

namespace morvane::app {

ResultBannerView::ResultBannerView(AppModel& model, std::shared_ptr<FileManager> fileManager, QWidget* parent)
    : MessageBar(parent), model_(model), fileManager_(std::move(fileManager)), undo_(addButton("undoRename")),
      reveal_(addButton("showFolder")), dismiss_(addButton("dismiss")) {
    setObjectName("resultBanner");
    connect(undo_, &QPushButton::clicked, &model_, &AppModel::undoLastRename);
    connect(reveal_, &QPushButton::clicked, this, [this] {
        if (const auto folder = model_.resultBanner().revealFolder) {
            fileManager_->showFolder(*folder);
        }
    });
    connect(dismiss_, &QPushButton::clicked, this, [this] { model_.setActionMessage(std::nullopt); });
    connect(&model_, &AppModel::bannerChanged, this, &ResultBannerView::showBanner);
    // Undo is refused while a batch runs.
    connect(&model_, &AppModel::busyChanged, this, &ResultBannerView::showBanner);
    connect(&model_.settings(), &AppSettings::languageChanged, this, &ResultBannerView::showBanner);
    showBanner();
}

void ResultBannerView::showBanner() {
    const ResultBanner banner = model_.resultBanner();
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
    undo_->setEnabled(!model_.busy());
    undo_->setToolTip(QStringLiteral("%1 (%2)").arg(undo_->text(), nativeShortcut(Shortcuts::undo())));
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

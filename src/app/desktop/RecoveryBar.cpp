#include "app/desktop/RecoveryBar.h"

#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QLabel>
#include <QPushButton>

namespace morvane::app {

RecoveryBar::RecoveryBar(AppModel& model, QWidget* parent)
    : MessageBar(parent), model_(model), putBack_(addButton("putBack")), dismiss_(addButton("notNow")) {
    setObjectName("recoveryOffer");
    connect(putBack_, &QPushButton::clicked, &model_, &AppModel::recoverInterruptedBatches);
    connect(dismiss_, &QPushButton::clicked, &model_, &AppModel::dismissRecovery);
    connect(&model_, &AppModel::recoveryOfferChanged, this, &RecoveryBar::showOffer);
    connect(&model_, &AppModel::busyChanged, this, &RecoveryBar::showOffer);
    connect(&model_.settings(), &AppSettings::languageChanged, this, &RecoveryBar::showOffer);
    showOffer();
}

void RecoveryBar::showOffer() {
    const RecoveryOffer offer = model_.recoveryOffer();
    setVisible(offer.isShown);
    if (!offer.isShown) {
        return;
    }
    setMessage(toQString(offer.text), QStringLiteral("exclamationmark.triangle.fill"), true);
    const struct {
        QPushButton* button;
        const std::optional<std::string>& label;
    } buttons[] = {{putBack_, offer.putBackButton}, {dismiss_, offer.dismissButton}};
    for (const auto& [button, label] : buttons) {
        button->setVisible(label.has_value());
        button->setText(label ? toQString(*label) : QString());
        button->setEnabled(!model_.busy());
    }
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

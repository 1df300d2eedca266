#include "app/desktop/RecoveryBar.h"

#include "app/desktop/UiText.h"
#include "app/model/WindowBatches.h"
#include "app/model/WindowRecovery.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace morvane::app {

RecoveryBar::RecoveryBar(WindowRecovery& recovery, const WindowBatches& batches, QWidget* parent)
    : MessageBar(parent), recovery_(recovery), batches_(batches), putBack_(addButton("putBack")),
      dismiss_(addButton("notNow")) {
    setObjectName("recoveryOffer");
    connect(putBack_, &QPushButton::clicked, &recovery_, &WindowRecovery::recoverInterruptedBatches);
    connect(dismiss_, &QPushButton::clicked, &recovery_, &WindowRecovery::dismissRecovery);
    connect(&recovery_, &WindowRecovery::recoveryOfferChanged, this, &RecoveryBar::showOffer);
    connect(&batches_, &WindowBatches::busyChanged, this, &RecoveryBar::showOffer);
    showOffer();
}

void RecoveryBar::changeEvent(QEvent* event) {
    MessageBar::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showOffer();
    }
}

void RecoveryBar::showOffer() {
    const RecoveryOffer offer = recovery_.recoveryOffer();
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
        button->setEnabled(!batches_.busy());
    }
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

#pragma once

#include "app/desktop/MessageBar.h"

namespace morvane::app {

class WindowBatches;
class WindowRecovery;

// The offer to put back what batches cut short by a crash left behind, above
// the table: how many batches and items, in which folder, with "Put Back" and
// "Not Now" (only "Dismiss" for a record that cannot be read). Hidden while
// there is nothing to offer; its buttons wait while a batch runs.
class RecoveryBar : public MessageBar {
    Q_OBJECT

public:
    RecoveryBar(WindowRecovery& recovery, const WindowBatches& batches, QWidget* parent = nullptr);

    QPushButton* putBackButton() const { return putBack_; }
    QPushButton* dismissButton() const { return dismiss_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showOffer();

    WindowRecovery& recovery_;
    const WindowBatches& batches_;
    QPushButton* putBack_;
    QPushButton* dismiss_;
};

} // namespace morvane::app

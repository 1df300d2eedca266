#pragma once

#include "app/desktop/MessageBar.h"

namespace morvane::app {

class AppModel;

// The offer to put back what batches cut short by a crash left behind, above
// the table: how many batches and items, in which folder, with "Put Back" and
// "Not Now" (only "Dismiss" for a record that cannot be read). Hidden while
// there is nothing to offer; its buttons wait while a batch runs.
class RecoveryBar : public MessageBar {
    Q_OBJECT

public:
    explicit RecoveryBar(AppModel& model, QWidget* parent = nullptr);

    QPushButton* putBackButton() const { return putBack_; }
    QPushButton* dismissButton() const { return dismiss_; }

private:
    void showOffer();

    AppModel& model_;
    QPushButton* putBack_;
    QPushButton* dismiss_;
};

} // namespace morvane::app

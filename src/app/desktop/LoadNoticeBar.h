#pragma once

#include "app/desktop/MessageBar.h"

namespace morvane::app {

class WindowItems;

// What a stopped read left out of the list, above the table, with "Read
// Again" (the whole folder, this time to the end unless stopped again) and
// "Dismiss".
class LoadNoticeBar : public MessageBar {
    Q_OBJECT

public:
    explicit LoadNoticeBar(WindowItems& items, QWidget* parent = nullptr);

    QPushButton* readAgainButton() const { return readAgain_; }
    QPushButton* dismissButton() const { return dismiss_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showNotice();

    WindowItems& items_;
    QPushButton* readAgain_;
    QPushButton* dismiss_;
};

} // namespace morvane::app

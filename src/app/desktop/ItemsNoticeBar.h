#pragma once

#include "app/desktop/MessageBar.h"

namespace morvane::app {

class WindowItems;

// Above the table, what the window could not show of the folder it read: the
// entries whose names are not valid UTF-8 and were left out, until dismissed.
class ItemsNoticeBar : public MessageBar {
    Q_OBJECT

public:
    explicit ItemsNoticeBar(WindowItems& items, QWidget* parent = nullptr);

    QPushButton* dismissButton() const { return dismiss_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showNotice();

    WindowItems& items_;
    QPushButton* dismiss_;
};

} // namespace morvane::app

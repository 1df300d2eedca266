#include "app/desktop/ItemsNoticeBar.h"

#include "app/desktop/UiText.h"
#include "app/model/WindowItems.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace morvane::app {

ItemsNoticeBar::ItemsNoticeBar(WindowItems& items, QWidget* parent)
    : MessageBar(parent), items_(items), dismiss_(addButton("dismissItemsNotice")) {
    setObjectName("itemsNotice");
    connect(dismiss_, &QPushButton::clicked, &items_, &WindowItems::dismissUnreadableNamesNotice);
    connect(&items_, &WindowItems::unreadableNamesChanged, this, &ItemsNoticeBar::showNotice);
    showNotice();
}

void ItemsNoticeBar::changeEvent(QEvent* event) {
    MessageBar::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showNotice();
    }
}

void ItemsNoticeBar::showNotice() {
    const auto notice = items_.unreadableNamesNotice();
    setVisible(notice.has_value());
    setMessage(notice ? toQString(*notice) : QString(), QStringLiteral("exclamationmark.triangle.fill"),
               true);
    dismiss_->setText(ui("Dismiss"));
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

#include "app/desktop/LoadNoticeBar.h"

#include "app/desktop/UiText.h"
#include "app/model/WindowItems.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace morvane::app {

LoadNoticeBar::LoadNoticeBar(WindowItems& items, QWidget* parent)
    : MessageBar(parent), items_(items), readAgain_(addButton("readAgain")),
      dismiss_(addButton("dismissLoadNotice")) {
    setObjectName("loadNotice");
    connect(readAgain_, &QPushButton::clicked, &items_, &WindowItems::rescan);
    connect(dismiss_, &QPushButton::clicked, &items_, &WindowItems::dismissLoadNotice);
    connect(&items_, &WindowItems::loadNoticeChanged, this, &LoadNoticeBar::showNotice);
    showNotice();
}

void LoadNoticeBar::changeEvent(QEvent* event) {
    MessageBar::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showNotice();
    }
}

void LoadNoticeBar::showNotice() {
    const auto& notice = items_.loadNotice();
    setVisible(notice.has_value());
    setMessage(notice ? toQString(*notice) : QString(), QStringLiteral("exclamationmark.triangle.fill"),
               true);
    readAgain_->setText(ui("Read Again"));
    dismiss_->setText(ui("Dismiss"));
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

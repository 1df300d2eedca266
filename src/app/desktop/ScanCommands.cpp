#include "app/desktop/ScanCommands.h"

#include "app/desktop/Icons.h"
#include "app/desktop/UiText.h"
#include "app/model/ScanChoices.h"
#include "app/model/WindowBatches.h"
#include "app/model/WindowItems.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QToolButton>

namespace morvane::app {

ScanCommands::ScanCommands(WindowItems& items, const WindowBatches& batches, QWidget* window)
    : QObject(window), items_(items), batches_(batches), window_(window), menu_(new QMenu(window)),
      button_(new QToolButton) {
    for (const ScanChoice& choice : ScanChoices::of(items_.scanOptions())) {
        auto* action = new QAction(window_);
        action->setObjectName(toQString(choice.name));
        action->setCheckable(true);
        // The model turns the choice over, or refuses to; the check mark then follows it.
        connect(action, &QAction::triggered, this, [this, name = choice.name] {
            items_.setScanOptions(ScanChoices::toggled(items_.scanOptions(), name));
            refresh();
        });
        actions_.append(action);
        menu_->addAction(action);
    }
    menu_->setObjectName("scanOptionsMenu");
    button_->setObjectName("scanOptionsButton");
    button_->setIcon(Icons::symbol("list.bullet.indent"));
    button_->setMenu(menu_);
    button_->setPopupMode(QToolButton::InstantPopup);
    button_->setAutoRaise(true);
    button_->setFocusPolicy(Qt::StrongFocus);
    connect(&items_, &WindowItems::scanOptionsChanged, this, &ScanCommands::refresh);
    connect(&batches_, &WindowBatches::busyChanged, this, &ScanCommands::refresh);
    window_->installEventFilter(this);
    refresh();
}

QAction* ScanCommands::action(std::string_view name) const {
    for (QAction* action : actions_) {
        if (action->objectName() == QString::fromUtf8(name.data(), qsizetype(name.size()))) {
            return action;
        }
    }
    return nullptr;
}

void ScanCommands::addToMenu(QMenu* menu) {
    menu->addSeparator();
    menu->addActions(actions_);
}

void ScanCommands::refresh() {
    const std::vector<ScanChoice> choices = ScanChoices::of(items_.scanOptions());
    const bool idle = !batches_.busy();
    for (qsizetype index = 0; index < actions_.size(); ++index) {
        const ScanChoice& choice = choices[static_cast<std::size_t>(index)];
        QAction* action = actions_[index];
        action->setText(toQString(choice.title));
        action->setChecked(choice.isChecked);
        action->setEnabled(idle && choice.isEnabled);
    }
    button_->setEnabled(idle);
    button_->setToolTip(ui("Scan Options"));
    button_->setAccessibleName(ui("Scan Options"));
}

// The window tells of a new interface language; actions are no widgets to be told.
bool ScanCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::LanguageChange) {
        refresh();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace morvane::app

#include "app/desktop/PresetCommands.h"

#include "app/desktop/Icons.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPushButton>

namespace morvane::app {
namespace {

// A name shown as it is: "&" in a menu text would mark a mnemonic.
QString menuText(const std::string& text) {
    return toQString(text).replace('&', QStringLiteral("&&"));
}

} // namespace

PresetCommands::PresetCommands(AppModel& model, QMenu* menu, QObject* parent)
    : QObject(parent), model_(model), menu_(menu), button_(new QPushButton) {
    button_->setObjectName("presetButton");
    button_->setMenu(menu_);
    button_->setAutoDefault(false);
    connect(&model_.presets(), &WindowPresets::presetsChanged, this, &PresetCommands::rebuild);
    connect(&model_.batches(), &WindowBatches::busyChanged, this, &PresetCommands::rebuild);
    if (menu_) {
        menu_->installEventFilter(this);
    }
    rebuild();
}

bool PresetCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == menu_ && event->type() == QEvent::LanguageChange) {
        rebuild();
    }
    return QObject::eventFilter(watched, event);
}

void PresetCommands::rebuild() {
    if (!menu_) {
        return;
    }
    WindowPresets& presets = model_.presets();
    const PresetMenu shown = presets.presetMenu();
    button_->setText(menuText(shown.label));
    // Some room between the name and the menu's arrow.
    button_->setMinimumWidth(0);
    button_->setMinimumWidth(button_->sizeHint().width() + 14);
    button_->setAccessibleName(ui("Presets"));
    button_->setEnabled(!model_.batches().busy());
    for (QAction* action : menu_->actions()) {
        menu_->removeAction(action);
        action->deleteLater();
    }
    presets_.clear();

    // A batch running refuses every change of the rules.
    const bool enabled = !model_.batches().busy();
    const auto add = [&](const Preset& preset, const QKeySequence& shortcut) {
        QAction* action = menu_->addAction(menuText(WindowPresets::presetName(preset.name)));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        if (presets.currentPreset() == preset.name) {
            action->setIcon(Icons::symbol("checkmark"));
        }
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, &presets, [&presets, preset] { presets.apply(preset); });
        presets_.append(action);
    };
    int number = 1;
    for (const Preset& preset : shown.favorites) {
        add(preset, Shortcuts::favorite(number++));
    }
    if (!shown.favorites.empty() && !shown.others.empty()) {
        menu_->addSeparator();
    }
    for (const Preset& preset : shown.others) {
        add(preset, {});
    }
    menu_->addSeparator();
    save_ = menu_->addAction(menuText(shown.saveItem));
    save_->setObjectName("savePreset");
    save_->setEnabled(enabled);
    connect(save_, &QAction::triggered, &presets, [&presets] { presets.setShowSavePreset(true); });
    manage_ = menu_->addAction(menuText(shown.manageItem));
    manage_->setObjectName("managePresets");
    manage_->setEnabled(enabled);
    connect(manage_, &QAction::triggered, &presets, [&presets] { presets.setShowPresetManager(true); });
}

} // namespace morvane::app

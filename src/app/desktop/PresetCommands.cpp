#include "app/desktop/PresetCommands.h"

#include "app/desktop/Icons.h"
#include "app/desktop/Shortcuts.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QAction>
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
    connect(&model_, &AppModel::presetsChanged, this, &PresetCommands::rebuild);
    connect(&model_, &AppModel::busyChanged, this, &PresetCommands::rebuild);
    connect(&model_.settings(), &AppSettings::languageChanged, this, &PresetCommands::rebuild);
    rebuild();
}

void PresetCommands::rebuild() {
    if (!menu_) {
        return;
    }
    const PresetMenu shown = model_.presetMenu();
    button_->setText(menuText(shown.label));
    // Some room between the name and the menu's arrow.
    button_->setMinimumWidth(0);
    button_->setMinimumWidth(button_->sizeHint().width() + 14);
    button_->setAccessibleName(ui("Presets"));
    button_->setEnabled(!model_.busy());
    for (QAction* action : menu_->actions()) {
        menu_->removeAction(action);
        action->deleteLater();
    }
    presets_.clear();

    // A batch running refuses every change of the rules.
    const bool enabled = !model_.busy();
    const auto add = [&](const Preset& preset, const QKeySequence& shortcut) {
        QAction* action = menu_->addAction(menuText(AppModel::presetName(preset.name)));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        if (model_.currentPreset() == preset.name) {
            action->setIcon(Icons::symbol("checkmark"));
        }
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, preset] { model_.apply(preset); });
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
    connect(save_, &QAction::triggered, this, [this] { model_.setShowSavePreset(true); });
    manage_ = menu_->addAction(menuText(shown.manageItem));
    manage_->setObjectName("managePresets");
    manage_->setEnabled(enabled);
    connect(manage_, &QAction::triggered, this, [this] { model_.setShowPresetManager(true); });
}

} // namespace morvane::app

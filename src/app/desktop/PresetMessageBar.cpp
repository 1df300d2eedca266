#include "app/desktop/PresetMessageBar.h"

#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"

#include <QLabel>
#include <QPushButton>

namespace morvane::app {

PresetMessageBar::PresetMessageBar(AppModel& model, QWidget* parent)
    : MessageBar(parent), model_(model), dismiss_(addButton("dismissPresetMessage")) {
    setObjectName("presetMessage");
    connect(dismiss_, &QPushButton::clicked, this, [this] { model_.setPresetMessage(std::nullopt); });
    connect(&model_, &AppModel::presetMessageChanged, this, &PresetMessageBar::showMessage);
    connect(&model_.settings(), &AppSettings::languageChanged, this, &PresetMessageBar::showMessage);
    showMessage();
}

void PresetMessageBar::showMessage() {
    const auto& message = model_.presetMessage();
    setVisible(message.has_value());
    // Successes and failures alike: the message says which.
    setMessage(message ? toQString(*message) : QString(), QStringLiteral("info.circle"), false);
    dismiss_->setText(ui("Dismiss"));
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

#include "app/desktop/PresetMessageBar.h"

#include "app/desktop/UiText.h"
#include "app/model/WindowPresets.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace morvane::app {

PresetMessageBar::PresetMessageBar(WindowPresets& presets, QWidget* parent)
    : MessageBar(parent), presets_(presets), dismiss_(addButton("dismissPresetMessage")) {
    setObjectName("presetMessage");
    connect(dismiss_, &QPushButton::clicked, this, [this] { presets_.setPresetMessage(std::nullopt); });
    connect(&presets_, &WindowPresets::presetMessageChanged, this, &PresetMessageBar::showMessage);
    showMessage();
}

void PresetMessageBar::changeEvent(QEvent* event) {
    MessageBar::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        showMessage();
    }
}

void PresetMessageBar::showMessage() {
    const auto& message = presets_.presetMessage();
    setVisible(message.has_value());
    // Successes and failures alike: the message says which.
    setMessage(message ? toQString(*message) : QString(), QStringLiteral("info.circle"), false);
    dismiss_->setText(ui("Dismiss"));
    setAccessibleName(textLabel()->text());
}

} // namespace morvane::app

#include "app/desktop/PresetSaveSheet.h"

#include "app/desktop/MessageBar.h"
#include "app/desktop/SheetStyle.h"
#include "app/desktop/UiText.h"
#include "app/model/WindowPresets.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane::app {

PresetSaveSheet::PresetSaveSheet(WindowPresets& presets, QWidget* parent)
    : QDialog(parent), presets_(presets), title_(new QLabel), nameLabel_(new QLabel), name_(new QLineEdit),
      warning_(new MessageBar), failure_(new MessageBar) {
    setObjectName("savePreset");
    QVBoxLayout* layout = SheetStyle::column(this);
    // As tall as what it shows: the warning comes and goes with the name typed.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(SheetStyle::title(title_));
    layout->addSpacing(4);

    nameLabel_->setBuddy(name_);
    layout->addWidget(nameLabel_);
    name_->setText(toQString(presets_.savePresetSheet().initialName));
    name_->selectAll();
    name_->setMinimumWidth(420);
    layout->addWidget(name_);
    layout->addWidget(warning_);
    layout->addWidget(failure_);

    auto* buttons = new QDialogButtonBox;
    cancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    save_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    cancel_->setAutoDefault(false);
    save_->setDefault(true);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PresetSaveSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PresetSaveSheet::reject);
    connect(name_, &QLineEdit::textChanged, this, &PresetSaveSheet::showWarning);
    retranslate();
}

void PresetSaveSheet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
}

void PresetSaveSheet::retranslate() {
    const SavePresetSheet sheet = presets_.savePresetSheet();
    setWindowTitle(toQString(sheet.title));
    title_->setText(toQString(sheet.title));
    nameLabel_->setText(ui("Name"));
    name_->setAccessibleName(ui("Name"));
    cancel_->setText(toQString(sheet.cancelButton));
    save_->setText(toQString(sheet.saveButton));
    showWarning();
}

void PresetSaveSheet::showWarning() {
    const auto warning = presets_.savePresetWarning(fromQString(name_->text()));
    warning_->setMessage(warning ? toQString(*warning) : QString(), "exclamationmark.triangle.fill", true);
    warning_->setVisible(warning.has_value());
    // A name of nothing but spaces is no name.
    save_->setEnabled(!name_->text().trimmed().isEmpty());
    failure_->hide();
}

// Save, or Enter in the field: closes only once the preset is saved, and
// otherwise says why, with the reason the model gave when it gave one.
void PresetSaveSheet::accept() {
    if (!save_->isEnabled()) {
        return;
    }
    bool told = false;
    const auto listening =
        connect(&presets_, &WindowPresets::presetMessageChanged, this, [&told] { told = true; });
    const bool saved = presets_.saveCurrentRules(fromQString(name_->text()));
    disconnect(listening);
    if (saved) {
        QDialog::accept();
        return;
    }
    // The same failure again leaves the model's message as it was; so does the bar.
    if (told || failure_->isHidden()) {
        failure_->setMessage(told && presets_.presetMessage() ? toQString(*presets_.presetMessage())
                                                              : ui("The preset could not be saved."),
                             "xmark.octagon.fill", true);
    }
    failure_->show();
}

} // namespace morvane::app

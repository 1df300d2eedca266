#include "app/desktop/PresetSaveSheet.h"

#include "app/desktop/MessageBar.h"
#include "app/desktop/SheetStyle.h"
#include "app/desktop/UiText.h"
#include "app/model/AppModel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane::app {

PresetSaveSheet::PresetSaveSheet(AppModel& model, QWidget* parent)
    : QDialog(parent), model_(model), name_(new QLineEdit), warning_(new MessageBar),
      failure_(new MessageBar) {
    setObjectName("savePreset");
    const SavePresetSheet sheet = model_.savePresetSheet();
    setWindowTitle(toQString(sheet.title));
    QVBoxLayout* layout = SheetStyle::column(this);
    // As tall as what it shows: the warning comes and goes with the name typed.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(SheetStyle::title(new QLabel(toQString(sheet.title))));
    layout->addSpacing(4);

    auto* label = new QLabel(ui("Name"));
    label->setBuddy(name_);
    layout->addWidget(label);
    name_->setText(toQString(sheet.initialName));
    name_->selectAll();
    name_->setAccessibleName(ui("Name"));
    name_->setMinimumWidth(420);
    layout->addWidget(name_);
    layout->addWidget(warning_);
    layout->addWidget(failure_);

    auto* buttons = new QDialogButtonBox;
    cancel_ = buttons->addButton(toQString(sheet.cancelButton), QDialogButtonBox::RejectRole);
    save_ = buttons->addButton(toQString(sheet.saveButton), QDialogButtonBox::AcceptRole);
    cancel_->setAutoDefault(false);
    save_->setDefault(true);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PresetSaveSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PresetSaveSheet::reject);
    connect(name_, &QLineEdit::textChanged, this, &PresetSaveSheet::showWarning);
    showWarning();
}

void PresetSaveSheet::showWarning() {
    const auto warning = model_.savePresetWarning(fromQString(name_->text()));
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
    const auto listening = connect(&model_, &AppModel::presetMessageChanged, this, [&told] { told = true; });
    const bool saved = model_.saveCurrentRules(fromQString(name_->text()));
    disconnect(listening);
    if (saved) {
        QDialog::accept();
        return;
    }
    // The same failure again leaves the model's message as it was; so does the bar.
    if (told || failure_->isHidden()) {
        failure_->setMessage(told && model_.presetMessage() ? toQString(*model_.presetMessage())
                                                            : ui("The preset could not be saved."),
                             "xmark.octagon.fill", true);
    }
    failure_->show();
}

} // namespace morvane::app

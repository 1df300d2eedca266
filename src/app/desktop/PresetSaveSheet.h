#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morvane::app {

class AppModel;

// Saves the rule list as a preset under the name typed, saying while it is
// typed that a preset of that name will be replaced. It closes once the
// preset is saved; a save that fails says why and keeps the name.
class PresetSaveSheet : public QDialog {
    Q_OBJECT

public:
    PresetSaveSheet(AppModel& model, QWidget* parent);

    QLineEdit* nameField() const { return name_; }
    QLabel* warningLabel() const { return warning_; }
    QLabel* messageLabel() const { return message_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

    void accept() override;

private:
    void showWarning();

    AppModel& model_;
    QLineEdit* name_;
    QLabel* warning_;
    QLabel* message_;
    QPushButton* cancel_;
    QPushButton* save_;
};

} // namespace morvane::app

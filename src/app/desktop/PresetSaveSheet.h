#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morvane::app {

class WindowPresets;
class MessageBar;

// Saves the rule list as a preset under the name typed, saying while it is
// typed that a preset of that name will be replaced. It closes once the
// preset is saved; a save that fails says why and keeps the name.
class PresetSaveSheet : public QDialog {
    Q_OBJECT

public:
    PresetSaveSheet(WindowPresets& presets, QWidget* parent);

    QLineEdit* nameField() const { return name_; }
    MessageBar* warningBar() const { return warning_; }
    MessageBar* failureBar() const { return failure_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void showWarning();

    WindowPresets& presets_;
    QLabel* title_;
    QLabel* nameLabel_;
    QLineEdit* name_;
    MessageBar* warning_;
    MessageBar* failure_;
    QPushButton* cancel_;
    QPushButton* save_;
};

} // namespace morvane::app

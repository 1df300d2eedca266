#pragma once

#include "app/model/PresetViews.h"

#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace morvane::app {

class WindowBatches;
class WindowPresets;
class FileDialogs;

// The presets offered, each with its favourite switch and its rules, and
// what can be done with one: apply it, rename it, export it to a file, delete
// it (the user's own only); presets can be imported from files. Messages of
// the operations done here show under the list.
class PresetManagerSheet : public QDialog {
    Q_OBJECT

public:
    enum Column { favoriteColumn, nameColumn, rulesColumn };

    PresetManagerSheet(WindowPresets& presets, const WindowBatches& batches,
                       std::shared_ptr<FileDialogs> dialogs, QWidget* parent);

    QTreeWidget* list() const { return list_; }
    QPushButton* button(const QString& objectName) const;
    QLabel* messageLabel() const { return message_; }
    // The row of the preset shown under this name, or -1.
    int rowOf(const QString& displayName) const;
    void selectRow(int row);
    // The prompt or confirmation open over the sheet, if any.
    QInputDialog* renamePrompt() const { return prompt_; }
    QMessageBox* deleteConfirmation() const { return confirmation_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showRows();
    void showButtons();
    void retranslate();
    std::optional<PresetRow> selected() const;
    void applySelected();
    void renameSelected();
    void exportSelected();
    void deleteSelected();
    void importFiles();

    WindowPresets& presets_;
    const WindowBatches& batches_;
    std::shared_ptr<FileDialogs> dialogs_;
    PresetManager shown_;
    QLabel* title_;
    QLabel* note_;
    QTreeWidget* list_;
    QLabel* message_;
    QPointer<QInputDialog> prompt_;
    QPointer<QMessageBox> confirmation_;
    std::optional<std::string> selectNext_; // a preset's name, once the list is read again
    bool showing_ = false;
};

} // namespace morvane::app

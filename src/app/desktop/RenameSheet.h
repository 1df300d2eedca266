#pragma once

#include <QDialog>

class QLabel;
class QListView;
class QPushButton;

namespace morvane::app {

class AppModel;
class ConfirmationLines;
class ElidedLabel;
class RenameProgressView;

// The confirmation before anything changes on disk: how many items will be
// renamed, every rename as its old and new name with the changes marked, and
// "Rename", or "Skip Conflicting Items" while conflicts stand in the way.
// While the rename runs it shows its progress with "Stop" and cannot be
// closed; the model closes it when the batch ends, or when nothing is left
// to rename.
class RenameSheet : public QDialog {
    Q_OBJECT

public:
    RenameSheet(AppModel& model, QWidget* parent);

    QLabel* titleLabel() const { return title_; }
    QLabel* countsLabel() const { return counts_; }
    QLabel* footerLabel() const { return footer_; }
    QListView* lines() const { return list_; }
    ConfirmationLines& lineModel() const { return *lines_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* skipButton() const { return skip_; }
    QPushButton* renameButton() const { return rename_; }
    RenameProgressView* progress() const { return progress_; }

    void reject() override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showSheet();
    void fitLines();

    AppModel& model_;
    QLabel* title_;
    ElidedLabel* subtitle_;
    QLabel* counts_;
    ConfirmationLines* lines_;
    QListView* list_;
    QLabel* footer_;
    RenameProgressView* progress_;
    QPushButton* cancel_;
    QPushButton* skip_;
    QPushButton* rename_;
};

} // namespace morvane::app

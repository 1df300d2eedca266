#pragma once

#include "engine/support/Uuid.h"

#include <QDialog>
#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace morvane::app {

class WindowPreview;
class WindowRules;
class Clipboard;
class FileDialogs;
class PairRowsModel;
struct RowsEdit;

// The pair-list editor: the find/replace pairs of a Replace rule, or the
// pattern/replacement pairs of a Regex rule, as a table. Every change is
// written back to the rule at once, so the preview follows each keystroke;
// the match counts are worked out in the background after each change.
class ListEditorSheet : public QDialog {
    Q_OBJECT

public:
    ListEditorSheet(WindowRules& rules, const WindowPreview& preview, const Uuid& id,
                    std::shared_ptr<Clipboard> clipboard, std::shared_ptr<FileDialogs> dialogs,
                    QWidget* parent);

    PairRowsModel& rows() const { return *rows_; }
    QTableView* table() const { return table_; }
    QToolButton* button(const QString& objectName) const;
    QLabel* messageLabel() const { return message_; }
    QLabel* activeLabel() const { return active_; }
    QLabel* changedLabel() const { return changed_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void writeBack();
    void countMatches();
    void showFooter();
    void applyEdit(const RowsEdit& edit);
    void addRow();
    void duplicateSelected();
    void removeSelected();
    void pasteRows();
    void importFile();
    void exportFile();

    WindowRules& rules_;
    Uuid id_;
    std::shared_ptr<Clipboard> clipboard_;
    std::shared_ptr<FileDialogs> dialogs_;
    QLabel* title_;
    PairRowsModel* rows_ = nullptr;
    QTableView* table_;
    QLabel* active_;
    QLabel* changed_;
    QLabel* message_;
    QPushButton* done_;
    std::uint64_t countRequest_ = 0;
};

} // namespace morvane::app

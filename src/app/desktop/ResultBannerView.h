#pragma once

#include "app/desktop/MessageBar.h"

#include <memory>

namespace morvane::app {

class WindowBatches;
class FileManager;

// The result of the last rename or undo above the table: how many items were
// renamed, with "Undo Rename" and "Show in File Manager" (for a folder), or
// what went wrong, with "Dismiss". Hidden while there is nothing to say.
class ResultBannerView : public MessageBar {
    Q_OBJECT

public:
    ResultBannerView(WindowBatches& batches, std::shared_ptr<FileManager> fileManager,
                     QWidget* parent = nullptr);

    QPushButton* undoButton() const { return undo_; }
    QPushButton* revealButton() const { return reveal_; }
    QPushButton* dismissButton() const { return dismiss_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void showBanner();

    WindowBatches& batches_;
    std::shared_ptr<FileManager> fileManager_;
    QPushButton* undo_;
    QPushButton* reveal_;
    QPushButton* dismiss_;
};

} // namespace morvane::app

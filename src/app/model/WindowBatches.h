#pragma once

#include "app/model/ConfirmationSheet.h"
#include "app/model/EditGate.h"
#include "app/model/Preview.h"
#include "app/model/RenameProgress.h"
#include "app/model/ResultBanner.h"
#include "engine/transactions/HistoryRecording.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/RenameTransaction.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace morvane {
class BatchRunner;
struct BatchControl;
struct BatchOutcome;
struct UndoOutcome;
} // namespace morvane

namespace morvane::app {

class ProgressRelay;
class WindowItems;
class WindowPreview;

// What asks for the confirmation sheet. Rename opens it only with something
// to rename or a conflict to resolve (the sheet offers to skip conflicts);
// Preview whenever no batch runs (the sheet lists every change there is).
enum class ConfirmationCommand { rename, preview };

// The batches of one window: renaming what the preview shows, undo, the
// progress of a batch that runs for a while and its stop, the confirmation
// sheet before, and the result banner after. A batch runs on a worker thread
// while the window's gate refuses every change of what it works on; its
// outcome then updates the items, the last transaction and the message.
// Main thread only.
class WindowBatches : public QObject {
    Q_OBJECT

public:
    // `historyDirectory`: the user's history folder when absent.
    WindowBatches(WindowItems& items, const WindowPreview& preview,
                  std::optional<std::string> historyDirectory, EditGate& gate, QObject* parent = nullptr);
    ~WindowBatches() override;

    // Where batches are recorded; none when the user's folder cannot be found.
    std::optional<HistoryStore> historyStore() const;

    bool busy() const { return busy_; }
    // What the window's thread does once a batch's job is over.
    using Finish = std::function<void()>;
    // Runs `job` as the window's batch (nothing while another runs). A window
    // closed meanwhile takes no result; the job itself runs to its end.
    void run(std::function<Finish(const BatchControl&)> job);
    // A batch has run: from now on the window's own last rename decides what
    // Undo takes back, not the history's newest.
    void batchRan();

    // Carries out the plan on screen, exactly as shown: nothing while it has
    // conflicts or nothing to rename, or while it is not yet the plan of the
    // items now loaded.
    void performRename();
    // Takes back the window's last rename, else the newest batch of the
    // history that can still be undone.
    void undoLastRename();
    // For the window's last rename, and in a window that has not run a batch
    // yet, for the newest batch of the history that can still be undone
    // (looked for when the window opens), so that a batch can be undone
    // after a restart.
    bool canUndo() const { return lastTransaction_ != nullptr || historyUndoable_; }
    // A rename stops before its next move and puts back what it moved; an
    // undo stops before its next move and leaves the rest for later.
    void stopRenaming();
    // Shown once a batch has run for a moment.
    const std::optional<RenameProgress>& renameProgress() const { return renameProgress_; }

    // The window's last rename, offered for undo; null when there is none.
    const RenameTransaction* lastTransaction() const { return lastTransaction_.get(); }
    // Whether it was written to the history.
    const HistoryRecording& lastRecording() const { return lastRecording_; }
    // Offers a batch for undo as the window's last rename (a test, or a tool).
    void setLastTransaction(std::optional<RenameTransaction> transaction);
    // A change of the rules withdraws the last rename's undo and message (the
    // history keeps the batch).
    void withdrawLastRename();
    const std::optional<std::string>& actionMessage() const { return actionMessage_; }
    // "Dismiss" clears it.
    void setActionMessage(std::optional<std::string> message) { showActionMessage(std::move(message), true); }
    // A message that is news rather than a warning when `isWarning` is false.
    void showActionMessage(std::optional<std::string> message, bool isWarning);

    bool showConfirm() const { return showConfirm_; }
    bool canOpenConfirmation(ConfirmationCommand command) const;
    // Opens the sheet when the command may.
    void openConfirmation(ConfirmationCommand command);
    void closeConfirmation();
    // `undoShortcut` in the platform's notation.
    ConfirmationSheet confirmationSheet(std::string_view undoShortcut) const;
    // "Renamed", "Rename %lld Items" or "Rename".
    std::string renameButtonTitle() const;
    ResultBanner resultBanner() const;

signals:
    void busyChanged();
    void renameProgressChanged();
    void lastTransactionChanged();
    void canUndoChanged();
    void actionMessageChanged();
    void showConfirmChanged();
    // What the confirmation sheet shows changed: the plan, the subtitle, or `busy`.
    void confirmationChanged();
    // What the result banner shows changed.
    void bannerChanged();

private:
    BatchRunner runner() const;
    void finishRename(BatchOutcome& outcome, std::shared_ptr<const ItemList> worked,
                      const std::shared_ptr<const ItemList>& basedOn);
    void finishUndo(const UndoOutcome& outcome, std::shared_ptr<const ItemList> worked,
                    const std::shared_ptr<const ItemList>& basedOn);
    bool planIsOfCurrentItems() const;
    void lookForUndoableBatch();
    void finish(const Finish& then);
    void keepLastTransaction(std::shared_ptr<const RenameTransaction> transaction);
    void setShowConfirm(bool on);
    void publishProgress();

    WindowItems& items_;
    const WindowPreview& preview_;
    std::optional<std::string> historyDirectory_;
    EditGate& gate_;

    bool busy_ = false;
    std::stop_source stop_;
    std::shared_ptr<ProgressRelay> progressRelay_;
    QTimer progressTimer_;
    std::optional<RenameProgress> renameProgress_;

    // Shared with an undo's thread rather than copied, which for a large
    // batch would hold up the window.
    std::shared_ptr<const RenameTransaction> lastTransaction_;
    HistoryRecording lastRecording_;
    bool historyUndoable_ = false;
    bool hasRunBatch_ = false;
    std::optional<std::string> actionMessage_;
    bool actionMessageIsWarning_ = true;
    bool showConfirm_ = false;
};

} // namespace morvane::app

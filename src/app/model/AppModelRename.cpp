// Renaming and undo in the window's model: the batch on a worker thread
// through the engine's batch runner, its progress, and what its outcome does
// to the window (messages, the refresh, the last transaction), with the values
// of the confirmation sheet and the result banner.
#include "app/model/AppModel.h"
#include "app/model/BatchMessages.h"
#include "app/model/BatchResult.h"
#include "app/model/Localizer.h"
#include "app/model/ProgressRelay.h"
#include "app/model/WorkerPools.h"
#include "engine/transactions/BatchRunner.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace morvane::app {
namespace {

// A batch that ends sooner never shows its progress; one that runs longer
// shows it at about the pace the eye follows.
constexpr int progressDelayMs = 200;
constexpr int progressRefreshMs = 50;

} // namespace

BatchRunner AppModel::runner() const {
    return BatchRunner(BatchRunner::Services{access_->fileSystem(), historyStore()});
}

// The published plan was made from the items now loaded, not from those of
// an earlier folder or drop whose new plan is still being worked out.
bool AppModel::planIsOfCurrentItems() const {
    return preview_->planning && preview_->planning->itemsVersion == itemsVersion_;
}

void AppModel::performRename() {
    if (busy_ || loading_ || !planIsOfCurrentItems() || summary().conflicts > 0 || summary().toRename == 0) {
        return;
    }
    // The plan on screen is carried out as it is; the batch's thread reads it
    // from the published preview, which nothing changes.
    const std::optional<std::string> folder = looseFiles_ ? std::nullopt : folder_;
    startBatch([runner = runner(), preview = preview_, folder,
                items = looseFiles_ ? items_ : nullptr](const BatchControl& control) {
        auto result = std::make_shared<BatchResult>();
        BatchOutcome outcome = runner.run(preview->plan, folder, control);
        result->basedOn = items;
        if (items && outcome.transaction) {
            result->items = std::make_shared<const ItemList>(
                itemsAfter(*items, *outcome.transaction, BatchDirection::rename));
        }
        result->rename = std::move(outcome);
        return result;
    });
}

void AppModel::undoLastRename() {
    if (busy_) {
        return;
    }
    // The window's last rename stays offered until an undo of it has run: a
    // history that refuses the undo leaves it to be undone once mended.
    startBatch([runner = runner(), last = lastTransaction_,
                items = looseFiles_ ? items_ : nullptr](const BatchControl& control) {
        auto result = std::make_shared<BatchResult>();
        std::optional<RenameTransaction> asked;
        if (last) {
            asked = *last; // copied here, not on the window's thread
        }
        UndoOutcome outcome =
            runner.undo(BatchRunner::UndoRequest{std::move(asked), std::nullopt, false}, control);
        result->basedOn = items;
        if (items && outcome.report) {
            result->items = std::make_shared<const ItemList>(
                itemsAfter(*items, outcome.report->transaction, BatchDirection::undo));
        }
        result->undo = std::move(outcome);
        return result;
    });
}

void AppModel::lookForUndoableBatch() {
    auto store = historyStore();
    if (!store) {
        return;
    }
    auto* watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        // Once the window has run a batch, its own last rename decides.
        if (!hasRunBatch_ && watcher->result()) {
            historyUndoable_ = true;
            emit canUndoChanged();
        }
    });
    watcher->setFuture(QtConcurrent::run(&WorkerPools::batches(), [store = std::move(*store)] {
        try {
            return store.latestUndoable().has_value();
        } catch (const std::exception&) {
            return false; // a history that cannot be read offers nothing to undo
        }
    }));
}

void AppModel::stopRenaming() {
    if (busy_ && batchStop_.request_stop() && renameProgress_) {
        publishProgress();
    }
}

void AppModel::batchRan() {
    hasRunBatch_ = true;
    if (std::exchange(historyUndoable_, false)) {
        emit canUndoChanged();
    }
}

void AppModel::startBatch(std::function<std::shared_ptr<BatchResult>(const BatchControl&)> job) {
    batchStop_ = std::stop_source();
    progressRelay_ = std::make_shared<ProgressRelay>();
    BatchControl control{[relay = progressRelay_](const BatchProgress& progress) { relay->store(progress); },
                         batchStop_.get_token()};
    assign(busy_, true, &AppModel::busyChanged);
    progressTimer_.setInterval(progressDelayMs);
    progressTimer_.start();
    // The watcher is the model's: a window closed meanwhile takes no result,
    // while the batch itself runs to its end and is recorded.
    auto* watcher = new QFutureWatcher<std::shared_ptr<BatchResult>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        finishBatch(watcher->result());
    });
    watcher->setFuture(
        QtConcurrent::run(&WorkerPools::batches(),
                          [job = std::move(job), control = std::move(control)] { return job(control); }));
}

void AppModel::publishProgress() {
    progressTimer_.setInterval(progressRefreshMs);
    if (const auto latest = progressRelay_ ? progressRelay_->latest() : std::nullopt) {
        assign(renameProgress_, std::optional(RenameProgress::of(*latest, batchStop_.stop_requested())),
               &AppModel::renameProgressChanged);
    }
}

void AppModel::finishBatch(std::shared_ptr<BatchResult> result) {
    progressTimer_.stop();
    if (renameProgress_) {
        publishProgress(); // where the batch ended, before the progress goes
    }
    assign(renameProgress_, std::optional<RenameProgress>(), &AppModel::renameProgressChanged);
    progressRelay_.reset();
    assign(busy_, false, &AppModel::busyChanged);
    if (result->rename) {
        finishRename(*result);
    } else if (result->recovery) {
        finishRecovery(*result->recovery);
    } else {
        finishUndo(*result);
    }
}

void AppModel::finishRename(BatchResult& result) {
    BatchOutcome& outcome = *result.rename;
    const bool ran = outcome.status == BatchOutcome::Status::ran;
    if (!ran && outcome.status != BatchOutcome::Status::historyUnavailable) {
        return; // refused as the window would have refused it: nothing happened
    }
    setShowConfirm(false);
    setActionMessage(renameMessage(outcome));
    if (!ran) {
        return;
    }
    batchRan();
    refreshAfter(*outcome.transaction, BatchDirection::rename, result);
    // A batch that was put back entirely leaves an earlier one undoable.
    if (outcome.transaction->outcome != RenameTransaction::Outcome::rolledBack) {
        lastRecording_ = outcome.recording;
        keepLastTransaction(std::make_shared<const RenameTransaction>(std::move(*outcome.transaction)));
    }
}

void AppModel::finishUndo(BatchResult& result) {
    const UndoOutcome& outcome = *result.undo;
    if (outcome.status == UndoOutcome::Status::ran) {
        batchRan();
        refreshAfter(outcome.report->transaction, BatchDirection::undo, result);
        keepLastTransaction(nullptr);
    }
    // A history that cannot be read is said so; with nothing to undo, nothing happens.
    if (outcome.status == UndoOutcome::Status::ran || outcome.status == UndoOutcome::Status::unreadable) {
        setActionMessage(undoMessage(outcome));
    }
}

void AppModel::refreshAfter(const RenameTransaction& transaction, BatchDirection direction,
                            BatchResult& result) {
    // The selected item stays selected under the name the batch left it with.
    const std::optional<std::string> selected =
        selectedID_ ? std::optional(idAfter(*selectedID_, transaction, direction)) : std::nullopt;
    if (looseFiles_) {
        // Worked out on the batch's thread, unless other items arrived meanwhile.
        const bool current = result.items && result.basedOn == items_;
        replaceItems(current ? std::move(result.items)
                             : std::make_shared<const ItemList>(itemsAfter(*items_, transaction, direction)));
        reselect(selected);
    } else {
        setSelectedID(selected);
        rescan();
    }
    setUnchecked({});
}

// ---- The confirmation sheet, the Rename button and the banner ----

ConfirmationSheet AppModel::confirmationSheet(std::string_view undoShortcut) const {
    ConfirmationSheet sheet = ConfirmationSheet::of(summary(), subtitle(), undoShortcut, busy_);
    sheet.canRename = sheet.canRename && !loading_ && planIsOfCurrentItems();
    return sheet;
}

ConfirmationLine AppModel::confirmationLine(std::size_t index) const {
    const RenamePlan::Entry& entry = plan().entries[preview_->operationRows.at(index)];
    return {entry.item.name, entry.newName};
}

void AppModel::closeSheetWhenNothingIsLeft() {
    if (showConfirm_ && summary().toRename == 0 && summary().conflicts == 0) {
        setShowConfirm(false);
    }
}

bool AppModel::canOpenConfirmation() const {
    return !busy_ && (summary().toRename > 0 || summary().conflicts > 0);
}

std::string AppModel::renameButtonTitle() const {
    const std::size_t toRename = summary().toRename;
    if (lastTransaction_ && toRename == 0) {
        return Localizer::text("Renamed");
    }
    if (toRename > 0) {
        return Localizer::counted("Rename %lld Item", "Rename %lld Items", toRename);
    }
    return Localizer::text("Rename");
}

ResultBanner AppModel::resultBanner() const {
    return ResultBanner::of(lastTransaction_.get(), lastRecording_, actionMessage_, actionMessageIsWarning_,
                            folder_);
}

} // namespace morvane::app

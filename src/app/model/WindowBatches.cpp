#include "app/model/WindowBatches.h"

#include "app/model/BatchMessages.h"
#include "app/model/Localizer.h"
#include "app/model/ProgressRelay.h"
#include "app/model/WindowItems.h"
#include "app/model/WindowPreview.h"
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

WindowBatches::WindowBatches(WindowItems& items, const WindowPreview& preview,
                             std::optional<std::string> historyDirectory, EditGate& gate, QObject* parent)
    : QObject(parent), items_(items), preview_(preview), historyDirectory_(std::move(historyDirectory)),
      gate_(gate) {
    progressTimer_.setTimerType(Qt::PreciseTimer);
    connect(&progressTimer_, &QTimer::timeout, this, &WindowBatches::publishProgress);
    // The values of the sheet and the banner, each announced once for all it depends on.
    connect(&preview_, &WindowPreview::planChanged, this, &WindowBatches::confirmationChanged);
    connect(&items_, &WindowItems::titleChanged, this, &WindowBatches::confirmationChanged);
    connect(this, &WindowBatches::busyChanged, this, &WindowBatches::confirmationChanged);
    connect(this, &WindowBatches::lastTransactionChanged, this, &WindowBatches::bannerChanged);
    connect(this, &WindowBatches::actionMessageChanged, this, &WindowBatches::bannerChanged);
    connect(&items_, &WindowItems::folderChanged, this, &WindowBatches::bannerChanged);
    connect(this, &WindowBatches::lastTransactionChanged, this, &WindowBatches::canUndoChanged);
    // The sheet closes itself once the plan has neither anything to rename nor a conflict.
    connect(&preview_, &WindowPreview::planChanged, this, [this] {
        if (showConfirm_ && preview_.summary().toRename == 0 && preview_.summary().conflicts == 0) {
            setShowConfirm(false);
        }
    });
    lookForUndoableBatch();
}

WindowBatches::~WindowBatches() = default;

std::optional<HistoryStore> WindowBatches::historyStore() const {
    try {
        return HistoryStore(historyDirectory_ ? *historyDirectory_ : HistoryStore::defaultDirectory());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

BatchRunner WindowBatches::runner() const {
    return BatchRunner(BatchRunner::Services{items_.access().fileSystem(), historyStore()});
}

// The published plan was made from the items now loaded, not from those of
// an earlier folder or drop whose new plan is still being worked out.
bool WindowBatches::planIsOfCurrentItems() const {
    return preview_.isOfItems(items_.version());
}

void WindowBatches::run(std::function<Finish(const BatchControl&)> job) {
    if (busy_) {
        return;
    }
    stop_ = std::stop_source();
    progressRelay_ = std::make_shared<ProgressRelay>();
    BatchControl control{[relay = progressRelay_](const BatchProgress& progress) { relay->store(progress); },
                         stop_.get_token()};
    busy_ = true;
    gate_.close();
    emit busyChanged();
    progressTimer_.setInterval(progressDelayMs);
    progressTimer_.start();
    // The watcher is ours: a window closed meanwhile takes no result, while
    // the batch itself runs to its end and is recorded.
    auto* watcher = new QFutureWatcher<Finish>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        finish(watcher->result());
    });
    watcher->setFuture(
        QtConcurrent::run(&WorkerPools::batches(),
                          [job = std::move(job), control = std::move(control)] { return job(control); }));
}

void WindowBatches::finish(const Finish& then) {
    progressTimer_.stop();
    if (renameProgress_) {
        publishProgress(); // where the batch ended, before the progress goes
        renameProgress_.reset();
        emit renameProgressChanged();
    }
    progressRelay_.reset();
    busy_ = false;
    gate_.open();
    emit busyChanged();
    then();
}

void WindowBatches::publishProgress() {
    progressTimer_.setInterval(progressRefreshMs);
    if (const auto latest = progressRelay_ ? progressRelay_->latest() : std::nullopt) {
        const RenameProgress shown = RenameProgress::of(*latest, stop_.stop_requested());
        if (shown != renameProgress_) {
            renameProgress_ = shown;
            emit renameProgressChanged();
        }
    }
}

void WindowBatches::stopRenaming() {
    if (busy_ && stop_.request_stop() && renameProgress_) {
        publishProgress();
    }
}

void WindowBatches::performRename() {
    const PlanSummary& summary = preview_.summary();
    if (items_.loading() || !planIsOfCurrentItems() || summary.conflicts > 0 || summary.toRename == 0) {
        return;
    }
    // The plan on screen is carried out as it is; the batch's thread reads it
    // from the published preview, which nothing changes.
    const std::optional<std::string> folder = items_.looseFiles() ? std::nullopt : items_.folder();
    run([this, runner = runner(), preview = preview_.published(), folder,
         items = items_.looseFiles() ? items_.snapshot() : nullptr](const BatchControl& control) -> Finish {
        auto outcome = std::make_shared<BatchOutcome>(runner.run(preview->plan, folder, control));
        // Loose items as the batch left them, worked out here rather than on the window's thread.
        std::shared_ptr<const ItemList> worked;
        if (items && outcome->transaction) {
            worked = std::make_shared<const ItemList>(
                itemsAfter(*items, *outcome->transaction, BatchDirection::rename));
        }
        return [this, outcome, worked, items] { finishRename(*outcome, worked, items); };
    });
}

void WindowBatches::finishRename(BatchOutcome& outcome, std::shared_ptr<const ItemList> worked,
                                 const std::shared_ptr<const ItemList>& basedOn) {
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
    items_.followBatch(*outcome.transaction, BatchDirection::rename, std::move(worked), basedOn);
    // A batch that was put back entirely leaves an earlier one undoable.
    if (outcome.transaction->outcome != RenameTransaction::Outcome::rolledBack) {
        lastRecording_ = outcome.recording;
        keepLastTransaction(std::make_shared<const RenameTransaction>(std::move(*outcome.transaction)));
    }
}

void WindowBatches::undoLastRename() {
    if (busy_) {
        return;
    }
    // While its undo runs the window's last rename is no longer offered; it
    // comes back should the history refuse the undo, to be undone once the
    // history is mended.
    std::shared_ptr<const RenameTransaction> last = std::exchange(lastTransaction_, nullptr);
    if (last) {
        emit lastTransactionChanged();
    }
    run([this, runner = runner(), last,
         items = items_.looseFiles() ? items_.snapshot() : nullptr](const BatchControl& control) -> Finish {
        std::optional<RenameTransaction> asked;
        if (last) {
            asked = *last; // copied here, not on the window's thread
        }
        auto outcome = std::make_shared<UndoOutcome>(
            runner.undo(BatchRunner::UndoRequest{std::move(asked), std::nullopt, false}, control));
        std::shared_ptr<const ItemList> worked;
        if (items && outcome->report) {
            worked = std::make_shared<const ItemList>(
                itemsAfter(*items, outcome->report->transaction, BatchDirection::undo));
        }
        return [this, outcome, worked, items, last] {
            if (outcome->status != UndoOutcome::Status::ran) {
                keepLastTransaction(last);
            }
            finishUndo(*outcome, worked, items);
        };
    });
}

void WindowBatches::finishUndo(const UndoOutcome& outcome, std::shared_ptr<const ItemList> worked,
                               const std::shared_ptr<const ItemList>& basedOn) {
    if (outcome.status == UndoOutcome::Status::ran) {
        batchRan();
        items_.followBatch(outcome.report->transaction, BatchDirection::undo, std::move(worked), basedOn);
    }
    // A history that cannot be read is said so; with nothing to undo, nothing happens.
    if (outcome.status == UndoOutcome::Status::ran || outcome.status == UndoOutcome::Status::unreadable) {
        setActionMessage(undoMessage(outcome));
    }
}

// Looked for on a worker thread when the window opens.
void WindowBatches::lookForUndoableBatch() {
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

void WindowBatches::batchRan() {
    hasRunBatch_ = true;
    if (std::exchange(historyUndoable_, false)) {
        emit canUndoChanged();
    }
}

void WindowBatches::keepLastTransaction(std::shared_ptr<const RenameTransaction> transaction) {
    if (transaction || lastTransaction_) {
        lastTransaction_ = std::move(transaction);
        emit lastTransactionChanged();
    }
}

void WindowBatches::setLastTransaction(std::optional<RenameTransaction> transaction) {
    keepLastTransaction(transaction ? std::make_shared<const RenameTransaction>(std::move(*transaction))
                                    : nullptr);
}

void WindowBatches::withdrawLastRename() {
    keepLastTransaction(nullptr);
    setActionMessage(std::nullopt);
}

void WindowBatches::showActionMessage(std::optional<std::string> message, bool isWarning) {
    const bool kindChanged = std::exchange(actionMessageIsWarning_, isWarning) != isWarning;
    if (message != actionMessage_) {
        actionMessage_ = std::move(message);
        emit actionMessageChanged();
    } else if (kindChanged) {
        emit bannerChanged();
    }
}

// ---- The confirmation sheet, the Rename button and the banner ----

bool WindowBatches::canOpenConfirmation(ConfirmationCommand command) const {
    if (busy_) {
        return false;
    }
    const PlanSummary& summary = preview_.summary();
    return command == ConfirmationCommand::preview || summary.toRename > 0 || summary.conflicts > 0;
}

void WindowBatches::openConfirmation(ConfirmationCommand command) {
    if (canOpenConfirmation(command)) {
        setShowConfirm(true);
    }
}

void WindowBatches::closeConfirmation() {
    setShowConfirm(false);
}

void WindowBatches::setShowConfirm(bool on) {
    if (on != showConfirm_) {
        showConfirm_ = on;
        emit showConfirmChanged();
    }
}

ConfirmationSheet WindowBatches::confirmationSheet(std::string_view undoShortcut) const {
    ConfirmationSheet sheet =
        ConfirmationSheet::of(preview_.summary(), items_.subtitle(), undoShortcut, busy_);
    sheet.canRename = sheet.canRename && !items_.loading() && planIsOfCurrentItems();
    return sheet;
}

std::string WindowBatches::renameButtonTitle() const {
    const std::size_t toRename = preview_.summary().toRename;
    if (lastTransaction_ && toRename == 0) {
        return Localizer::text("Renamed");
    }
    if (toRename > 0) {
        return Localizer::counted("Rename %lld Item", "Rename %lld Items", toRename);
    }
    return Localizer::text("Rename");
}

ResultBanner WindowBatches::resultBanner() const {
    return ResultBanner::of(lastTransaction_.get(), lastRecording_, actionMessage_, actionMessageIsWarning_,
                            items_.folder());
}

} // namespace morvane::app

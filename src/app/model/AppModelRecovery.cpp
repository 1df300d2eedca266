// Batches a crash, a kill or a power cut left unfinished, in the window's
// model: looked for once at start on a worker thread, offered by one window
// of the process, and put back as a batch of the window's own.
#include "app/model/AppModel.h"
#include "app/model/BatchMessages.h"
#include "app/model/BatchResult.h"
#include "app/model/WorkerPools.h"
#include "engine/support/Paths.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/Recovery.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <mutex>
#include <set>

namespace morvane::app {
namespace {

// The history folders whose unfinished batches a model of this process is
// looking for or offering, or whose offer the user answered: no other model
// offers them again.
struct RecoveryClaims {
    std::mutex lock;
    std::set<std::string> directories;
};

RecoveryClaims& recoveryClaims() {
    static RecoveryClaims claims;
    return claims;
}

bool claim(const std::string& directory) {
    RecoveryClaims& claims = recoveryClaims();
    std::lock_guard guard(claims.lock);
    return claims.directories.insert(directory).second;
}

// Whether a batch worked in the folder shown: within it, or on it from above.
bool concerns(const RecoveryOutcome& outcome, const std::string& folder) {
    const std::string& directory = outcome.batch.directory;
    return !outcome.batch.problem && !directory.empty() &&
           (Paths::isPrefix(folder, directory) || Paths::isPrefix(directory, folder));
}

} // namespace

void AppModel::lookForUnfinishedBatches() {
    const auto history = historyStore();
    if (!history || !claim(history->directory())) {
        return;
    }
    recoveryClaim_ = history->directory();
    auto* watcher = new QFutureWatcher<std::vector<UnfinishedBatch>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        unfinished_ = watcher->result();
        if (unfinished_.empty()) {
            // Nothing to offer now: a window opened later looks again.
            releaseRecoveryClaim();
            recoveryClaim_.reset();
        } else {
            emit recoveryOfferChanged();
        }
    });
    watcher->setFuture(
        QtConcurrent::run(&WorkerPools::batches(), [recovery = Recovery(access_->fileSystem(), *history)] {
            std::vector<UnfinishedBatch> batches;
            try {
                batches = recovery.unfinished();
            } catch (const std::exception&) {
                // A history folder that cannot be listed offers nothing; renaming
                // says what is wrong with it.
            }
            std::erase_if(batches, [](const UnfinishedBatch& batch) { return batch.isInUse; });
            return batches;
        }));
}

// A model that closes before the user answered lets a later one offer the batches.
void AppModel::releaseRecoveryClaim() {
    if (recoveryClaim_) {
        RecoveryClaims& claims = recoveryClaims();
        std::lock_guard guard(claims.lock);
        claims.directories.erase(*recoveryClaim_);
    }
}

RecoveryOffer AppModel::recoveryOffer() const {
    return RecoveryOffer::of(unfinished_, homeFolder_);
}

void AppModel::dismissRecovery() {
    if (unfinished_.empty()) {
        return;
    }
    unfinished_.clear();
    recoveryClaim_.reset();
    emit recoveryOfferChanged();
}

void AppModel::recoverInterruptedBatches() {
    // Records that cannot be read are only reported: alone, they are nothing to put back.
    const auto history = historyStore();
    if (busy_ || !history || std::all_of(unfinished_.begin(), unfinished_.end(), [](const auto& batch) {
            return batch.problem.has_value();
        })) {
        return;
    }
    std::vector<UnfinishedBatch> batches = std::exchange(unfinished_, {});
    recoveryClaim_.reset();
    emit recoveryOfferChanged();
    startBatch([recovery = Recovery(access_->fileSystem(), *history),
                batches = std::move(batches)](const BatchControl& control) {
        auto result = std::make_shared<BatchResult>();
        result->recovery.emplace();
        for (const UnfinishedBatch& batch : batches) {
            result->recovery->push_back(recovery.recover(batch, control));
        }
        return result;
    });
}

void AppModel::finishRecovery(const std::vector<RecoveryOutcome>& outcomes) {
    batchRan();
    showActionMessage(recoveryMessage(outcomes, homeFolder_),
                      !std::all_of(outcomes.begin(), outcomes.end(), std::mem_fn(&RecoveryOutcome::isWhole)));
    if (folder_ && !looseFiles_ &&
        std::any_of(outcomes.begin(), outcomes.end(),
                    [this](const RecoveryOutcome& outcome) { return concerns(outcome, *folder_); })) {
        rescan();
    }
}

} // namespace morvane::app

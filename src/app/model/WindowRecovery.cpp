#include "app/model/WindowRecovery.h"

#include "app/model/BatchMessages.h"
#include "app/model/WindowBatches.h"
#include "app/model/WindowItems.h"
#include "app/model/WorkerPools.h"
#include "engine/support/Paths.h"
#include "engine/transactions/Recovery.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <mutex>
#include <set>

namespace morvane::app {
namespace {

// The history folders whose unfinished batches a window of this process is
// looking for or offering, or whose offer the user answered: no other window
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

WindowRecovery::WindowRecovery(WindowBatches& batches, WindowItems& items, std::string home, QObject* parent)
    : QObject(parent), batches_(batches), items_(items), home_(std::move(home)) {
    lookForUnfinishedBatches();
}

WindowRecovery::~WindowRecovery() {
    releaseClaim();
}

void WindowRecovery::lookForUnfinishedBatches() {
    const auto history = batches_.historyStore();
    if (!history || !claim(history->directory())) {
        return;
    }
    claim_ = history->directory();
    auto* watcher = new QFutureWatcher<std::vector<UnfinishedBatch>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        unfinished_ = watcher->result();
        if (unfinished_.empty()) {
            // Nothing to offer now: a window opened later looks again.
            releaseClaim();
            claim_.reset();
        } else {
            emit recoveryOfferChanged();
        }
    });
    watcher->setFuture(QtConcurrent::run(
        &WorkerPools::batches(), [recovery = Recovery(items_.access().fileSystem(), *history)] {
            std::vector<UnfinishedBatch> batches;
            try {
                batches = recovery.unfinished();
            } catch (const std::exception&) {
                // A history folder that cannot be listed offers
                // nothing; renaming says what is wrong with it.
            }
            std::erase_if(batches, [](const UnfinishedBatch& batch) { return batch.isInUse; });
            return batches;
        }));
}

// A window that closes before the user answered lets a later one offer the batches.
void WindowRecovery::releaseClaim() {
    if (claim_) {
        RecoveryClaims& claims = recoveryClaims();
        std::lock_guard guard(claims.lock);
        claims.directories.erase(*claim_);
    }
}

RecoveryOffer WindowRecovery::recoveryOffer() const {
    return RecoveryOffer::of(unfinished_, home_);
}

void WindowRecovery::dismissRecovery() {
    if (unfinished_.empty()) {
        return;
    }
    unfinished_.clear();
    claim_.reset();
    emit recoveryOfferChanged();
}

void WindowRecovery::recoverInterruptedBatches() {
    // Records that cannot be read are only reported: alone, they are nothing to put back.
    const auto history = batches_.historyStore();
    if (batches_.busy() || !history ||
        std::all_of(unfinished_.begin(), unfinished_.end(),
                    [](const auto& batch) { return batch.problem.has_value(); })) {
        return;
    }
    std::vector<UnfinishedBatch> batches = std::exchange(unfinished_, {});
    claim_.reset();
    emit recoveryOfferChanged();
    batches_.run([self = QPointer(this), recovery = Recovery(items_.access().fileSystem(), *history),
                  batches = std::move(batches)](const BatchControl& control) -> WindowBatches::Finish {
        auto outcomes = std::make_shared<std::vector<RecoveryOutcome>>();
        for (const UnfinishedBatch& batch : batches) {
            outcomes->push_back(recovery.recover(batch, control));
        }
        return [self, outcomes] {
            if (self) {
                self->finishRecovery(*outcomes);
            }
        };
    });
}

void WindowRecovery::finishRecovery(const std::vector<RecoveryOutcome>& outcomes) {
    batches_.batchRan();
    batches_.showActionMessage(
        recoveryMessage(outcomes, home_),
        !std::all_of(outcomes.begin(), outcomes.end(), std::mem_fn(&RecoveryOutcome::isWhole)));
    const auto& folder = items_.folder();
    if (folder && !items_.looseFiles() &&
        std::any_of(outcomes.begin(), outcomes.end(),
                    [&](const RecoveryOutcome& outcome) { return concerns(outcome, *folder); })) {
        items_.rescan();
    }
}

} // namespace morvane::app

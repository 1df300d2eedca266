#pragma once

#include "app/model/RecoveryOffer.h"
#include "engine/transactions/UnfinishedBatch.h"

#include <QObject>
#include <optional>
#include <string>
#include <vector>

namespace morvane {
struct RecoveryOutcome;
} // namespace morvane

namespace morvane::app {

class WindowBatches;
class WindowItems;

// Batches a crash, a kill or a power cut left unfinished in the history
// folder, for one window: looked for once when it opens, on a worker thread,
// and offered until the user answers. One window of the process at a time
// looks in a history folder: a later one looks again only when this one found
// nothing or closed without an answer. Batches another process runs are left
// out; records that cannot be read are only reported. Putting them back is a
// batch of the window's own. Main thread only.
class WindowRecovery : public QObject {
    Q_OBJECT

public:
    // `home` is written "~" in the folders named.
    WindowRecovery(WindowBatches& batches, WindowItems& items, std::string home, QObject* parent = nullptr);
    ~WindowRecovery() override;

    RecoveryOffer recoveryOffer() const;
    // Puts the offered batches back (the window is busy meanwhile), then
    // says what was put back and what could not be, and reads the folder
    // shown again if they concern it.
    void recoverInterruptedBatches();
    // Withdraws the offer for the rest of this run.
    void dismissRecovery();

signals:
    void recoveryOfferChanged();

private:
    void lookForUnfinishedBatches();
    void finishRecovery(const std::vector<RecoveryOutcome>& outcomes);
    void releaseClaim();

    WindowBatches& batches_;
    WindowItems& items_;
    std::string home_;
    std::vector<UnfinishedBatch> unfinished_; // offered
    // The history folder whose unfinished batches this window looks for or
    // offers, until the user answers.
    std::optional<std::string> claim_;
};

} // namespace morvane::app

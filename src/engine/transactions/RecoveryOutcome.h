#pragma once

#include "engine/transactions/HistoryRecording.h"
#include "engine/transactions/UnfinishedBatch.h"

#include <cstddef>
#include <string>
#include <vector>

namespace morvane {

// What recovering one unfinished batch did, for a front end to put into its
// own words.
struct RecoveryOutcome {
    enum class Status {
        recovered, // every item is back under its original name, or (for a batch that had ended) recorded
        partlyRecovered, // some items could not be put back: `left` names them
        alreadyFinished, // the batch's own record was there after all: only its write-ahead record was
                         // removed
        inUse,           // another process is running the batch: nothing was done
        unreadable,      // the write-ahead record is damaged: nothing was done (see `batch.problem`)
        neverStarted,    // its record was never whole, so nothing had moved: it was removed (only
                         // `batch.file` is known)
    };

    // An item that is not under its original name.
    struct Left {
        std::string path;         // where it is now
        std::string originalName; // the name it had before the batch
        std::string reason;       // why it could not be put back

        bool operator==(const Left&) const = default;
    };

    Status status = Status::recovered;
    UnfinishedBatch batch;
    std::size_t putBackCount = 0; // items moved back under their original names
    std::vector<Left> left;
    // For a batch left partly done, or one that had ended: its history record.
    HistoryRecording recording;

    // Nothing is left to do: every item is back (or the batch had finished)
    // and recorded where it had to be.
    bool isWhole() const {
        return (status == Status::recovered || status == Status::alreadyFinished ||
                status == Status::neverStarted) &&
               recording.kind != HistoryRecording::Kind::failed;
    }

    bool operator==(const RecoveryOutcome&) const = default;
};

} // namespace morvane

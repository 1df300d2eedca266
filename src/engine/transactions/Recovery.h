#pragma once

#include "engine/filesystem/FileSystem.h"
#include "engine/transactions/BatchControl.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/RecoveryOutcome.h"
#include "engine/transactions/UnfinishedBatch.h"

#include <memory>
#include <vector>

namespace morvane {

// Puts back the batches a crash cut short, from the write-ahead records they
// left in the history folder: each item is found in its folder by what it is
// (its identity, kept in the record), whichever of its names it has, and
// moved back to its original name, never over anything; an item under a name
// not its own, or not found, is left where it is and named. Records of older
// versions, which keep no identities, are borne out by names (see
// PlaceCheck). A batch that ended but could not be recorded is recorded
// instead, and a record that never got whole, whose batch moved nothing, is
// removed. Recovery is itself recorded as it goes, so running it twice, or
// again after a crash during it, is safe. Runs on the caller's thread and
// never throws for what the disk does.
class Recovery {
public:
    Recovery(std::shared_ptr<FileSystem> fileSystem, HistoryStore history);

    // Newest first. Throws when the history folder cannot be listed.
    std::vector<UnfinishedBatch> unfinished() const;
    RecoveryOutcome recover(const UnfinishedBatch& batch, const BatchControl& control = BatchControl{}) const;
    // Every unfinished batch, newest first, any write-ahead record left after
    // its batch was recorded, and any that never got whole. Throws as
    // `unfinished` does.
    std::vector<RecoveryOutcome> recoverAll(const BatchControl& control = BatchControl{}) const;

private:
    // The batch a record describes, and whether the batch's own record has
    // replaced it (then nothing is left to do but remove it).
    UnfinishedBatch describe(const std::string& file, bool& isFinished) const;
    bool isRecorded(const BatchJournal& journal) const;
    HistoryRecording record(const BatchJournal& journal, const std::vector<std::string>& failures,
                            const std::vector<bool>& putBack) const;

    std::shared_ptr<FileSystem> fileSystem_;
    HistoryStore history_;
};

} // namespace morvane

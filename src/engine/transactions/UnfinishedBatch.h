#pragma once

#include "engine/support/Date.h"
#include "engine/support/Uuid.h"
#include "engine/transactions/BatchJournal.h"

#include <cstddef>
#include <optional>
#include <string>

namespace morvane {

// A batch, or an undo of one, whose write-ahead record was left in the
// history folder without the record that should have replaced it: a crash,
// a kill or a power cut stopped it, or it ended but could not be recorded.
struct UnfinishedBatch {
    std::string file; // its write-ahead record
    BatchJournal::Kind kind = BatchJournal::Kind::rename;
    Uuid batch;       // the batch's id (for an undo, the batch being undone)
    Date batchDate{}; // when that batch started
    Date started{};   // when this run started (for an undo, when the undo did)
    std::string directory;
    std::size_t itemCount = 0;
    // It ended, but its history record could not be written then: recovery
    // writes it, and only puts back what was left under temporary names.
    bool hasEnded = false;
    // Another process holds it: a batch running right now, not to be touched.
    bool isInUse = false;
    // The record cannot be read, and why; nothing but `file` is known then.
    std::optional<std::string> problem;

    bool operator==(const UnfinishedBatch&) const = default;
};

} // namespace morvane

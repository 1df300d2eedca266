#pragma once

#include "engine/core/RenamePlan.h"
#include "engine/transactions/HistoryRecording.h"
#include "engine/transactions/RenameTransaction.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// Everything a front end needs to tell the user how a rename request ended,
// without going back to the engine: it only turns this into its own words.
struct BatchOutcome {
    enum class Status {
        ruleErrors,         // a rule failed for some item and the request refuses that; nothing was touched
        conflicts,          // the plan has conflicts; nothing was touched
        nothingToRename,    // nothing was touched
        historyUnavailable, // the history folder cannot be written; nothing was touched
        ran,                // the moves were made: `transaction` says how the batch ended
    };

    Status status = Status::nothingToRename;
    // The plan carried out, or the one refused (its `ruleErrors` and
    // conflicting entries say why); empty from BatchRunner::run.
    RenamePlan plan;
    // The ids of the items left out as conflicting, in the order they were left out.
    std::vector<std::string> leftOut;
    std::optional<RenameTransaction> transaction; // when the batch ran
    // The batch stopped because the front end asked it to (its failure is
    // then "Stopped by the user" and no operation failed).
    bool wasStopped = false;
    // Whether the transaction was written to the history, and if not, why.
    HistoryRecording recording;
    // historyUnavailable: the history's own error, naming its folder.
    std::string historyError;
};

} // namespace morvane

#pragma once

#include "engine/transactions/HistoryListing.h"
#include "engine/transactions/HistoryRecording.h"
#include "engine/transactions/UndoReport.h"

#include <optional>
#include <vector>

namespace morvane {

// How an undo request ended, for a front end to put into its own words.
struct UndoOutcome {
    enum class Status {
        nothingToUndo, // no batch in the history can still be undone
        noSuchBatch,   // no recorded batch has the id asked for
        ambiguousId,   // several recorded batches begin with the id asked for (see `matches`)
        unreadable,    // the history folder cannot be listed, or for an undo written (see `historyError`)
        interrupted,   // an undo of the batch (in `matches`) was cut short: it must be recovered first
        ran,           // `report` says what happened to each operation
    };

    Status status = Status::nothingToUndo;
    std::optional<UndoReport> report;
    // The history records that could not be read (and were passed over).
    std::vector<HistoryListing::Unreadable> unreadable;
    // When the batch had nothing left that could be put back: the next older
    // batch that can still be undone, if any, for the user to turn to.
    std::optional<RenameTransaction> next;
    std::vector<RenameTransaction> matches; // ambiguousId, interrupted
    std::string historyError;               // unreadable only
    bool wasStopped = false;
    // Whether the updated transaction was written back to the history.
    HistoryRecording recording;

    std::size_t count(UndoReport::Status::Kind kind) const { return report ? report->count(kind) : 0; }
};

} // namespace morvane

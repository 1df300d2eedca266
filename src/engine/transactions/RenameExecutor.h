#pragma once

#include "engine/core/RenameOperation.h"
#include "engine/filesystem/FileSystem.h"
#include "engine/support/Date.h"
#include "engine/transactions/BatchControl.h"
#include "engine/transactions/MoveJournal.h"
#include "engine/transactions/MovePlanner.h"
#include "engine/transactions/RenameTransaction.h"
#include "engine/transactions/UndoReport.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// Carries a batch of renames out and takes recorded batches back. Never
// throws: every outcome, failures included, is in the returned transaction or
// report.
class RenameExecutor {
public:
    explicit RenameExecutor(
        std::shared_ptr<FileSystem> fileSystem, std::function<Date()> now = &RenameExecutor::systemNow,
        std::function<std::string()> temporaryName = &RenameExecutor::randomTemporaryName);

    // Performs the moves in an order that never overwrites anything; at the
    // first failure, or when `control` asks it to stop, puts back everything
    // already moved, in reverse order. A stop is recorded as the failure
    // "Stopped by the user" and fails no operation of its own.
    RenameTransaction execute(const std::vector<RenameOperation>& operations, const std::string& directory,
                              const std::optional<std::string>& presetName,
                              const BatchControl& control = BatchControl{}) const;
    // The same for a transaction made by the caller (id, date, folder and
    // operations, all pending), which spares a copy of every item; it is
    // updated in place. With a journal, the moves are made only once it has
    // recorded them, and it is told of each.
    void carryOut(RenameTransaction& transaction, const BatchControl& control,
                  MoveJournal* journal = nullptr) const;

    // Puts back the transaction's applied, not yet reverted operations as far
    // as the disk still allows. A dry run changes nothing and says what would
    // be put back. A stop leaves the operations not yet put back `notRun`;
    // no item is ever left under a temporary name without its status saying so.
    // With a journal, as for execute; a dry run tells it nothing.
    UndoReport undo(const RenameTransaction& transaction, bool dryRun,
                    const BatchControl& control = BatchControl{}, MoveJournal* journal = nullptr) const;

    static Date systemNow();
    // ".morvane-tmp-" and a new random UUID.
    static std::string randomTemporaryName();

private:
    MovePlanner planner(std::function<bool(const std::string&)> isCaseSensitive) const;

    std::shared_ptr<FileSystem> fileSystem_;
    std::function<Date()> now_;
    std::function<std::string()> temporaryName_;
};

} // namespace morvane

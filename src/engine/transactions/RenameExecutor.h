#pragma once

#include "engine/core/RenameOperation.h"
#include "engine/filesystem/FileSystem.h"
#include "engine/support/Date.h"
#include "engine/transactions/BatchControl.h"
#include "engine/transactions/MovePlanner.h"
#include "engine/transactions/RenameTransaction.h"
#include "engine/transactions/UndoReport.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
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

    // Puts back the transaction's applied, not yet reverted operations as far
    // as the disk still allows. A dry run changes nothing and says what would
    // be put back. A stop leaves the operations not yet put back `notRun`;
    // no item is ever left under a temporary name without its status saying so.
    UndoReport undo(const RenameTransaction& transaction, bool dryRun,
                    const BatchControl& control = BatchControl{}) const;

    static Date systemNow();
    // ".morvane-tmp-" and a new random UUID.
    static std::string randomTemporaryName();

private:
    // The error's message when the move failed.
    std::optional<std::string> attemptMove(const std::string& from, const std::string& to) const;
    RenameTransaction::Outcome rollBack(std::span<const MoveStep> done,
                                        std::vector<RenameTransaction::Operation>& operations,
                                        const BatchControl& control) const;
    // The text of an error caught while a batch ran.
    static std::string messageOf(const std::exception_ptr& error);
    MovePlanner planner(std::function<bool(const std::string&)> isCaseSensitive) const;

    std::shared_ptr<FileSystem> fileSystem_;
    std::function<Date()> now_;
    std::function<std::string()> temporaryName_;
};

} // namespace morvane

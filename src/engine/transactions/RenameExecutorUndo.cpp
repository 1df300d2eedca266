#include "engine/support/Localization.h"
#include "engine/support/NameKey.h"
#include "engine/support/Paths.h"
#include "engine/transactions/RenameExecutor.h"

#include <unordered_map>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;
using State = Operation::State;
using Status = UndoReport::Status;

// A history file may have been edited or damaged: a recorded name that is not
// a single component ("../x", "a/b") would make undo move something outside
// the operation's folder, so such an operation is never acted on.
std::optional<std::string> invalidNameOf(const Operation& operation) {
    for (const std::string* name : {&operation.to, &operation.from}) {
        if (!Paths::isSingleComponent(*name)) {
            return *name;
        }
    }
    return std::nullopt;
}

// Where the items are now. A batch renames a folder inside its own parent and
// records every item under the folder paths it had before the batch, so each
// level of an item's recorded folder is renamed exactly when a folder of the
// batch had that recorded path. Matching against the recorded paths (not the
// partly rewritten ones) keeps chains and swaps of folders (a→b, b→a) apart.
class CurrentFolders {
public:
    CurrentFolders(const std::vector<Operation>& operations, const std::vector<std::size_t>& candidates) {
        for (const std::size_t index : candidates) {
            const Operation& operation = operations[index];
            if (operation.isDirectory) {
                newNames_.try_emplace(Paths::normalized(operation.fromPath()), operation.to);
            }
        }
    }

    std::string of(const std::string& directory) const {
        if (newNames_.empty()) {
            return directory;
        }
        std::string recorded;
        std::string current;
        bool changed = false;
        for (const std::string_view component : Paths::components(directory)) {
            recorded += '/';
            recorded += component;
            current += '/';
            const auto renamed = newNames_.find(recorded);
            if (renamed != newNames_.end()) {
                current += renamed->second;
                changed = true;
            } else {
                current += component;
            }
        }
        return changed ? current : directory;
    }

private:
    std::unordered_map<std::string, std::string> newNames_; // recorded folder path -> its new name
};

} // namespace

UndoReport RenameExecutor::undo(const RenameTransaction& transaction, bool dryRun,
                                const BatchControl& control) const {
    UndoReport report{transaction, {}, {}};
    std::vector<Operation>& operations = report.transaction.operations;
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < operations.size(); ++i) {
        if (operations[i].state != State::done || operations[i].isReverted) {
            continue;
        }
        if (const auto bad = invalidNameOf(operations[i])) {
            report.statuses[i] = Status::failed(localized("\u201C%@\u201D is not a single file name", *bad));
            report.folders[i] = operations[i].directory;
        } else {
            candidates.push_back(i);
        }
    }

    std::unordered_map<std::string, bool> caseSensitivity; // one question per folder
    const auto isCaseSensitive = [&](const std::string& folder) {
        const auto [found, isNew] = caseSensitivity.try_emplace(folder, false);
        if (isNew) {
            found->second = fileSystem_->isCaseSensitive(folder);
        }
        return found->second;
    };

    try {
        const CurrentFolders currentFolders(operations, candidates);
        std::unordered_map<std::size_t, std::string> folderOf; // present operations
        std::vector<std::size_t> present;
        for (const std::size_t index : candidates) {
            std::string folder = currentFolders.of(operations[index].directory);
            report.folders[index] = folder;
            if (fileSystem_->exists(Paths::join(folder, operations[index].to))) {
                present.push_back(index);
                folderOf.emplace(index, std::move(folder));
            } else {
                report.statuses[index] = Status::changedSince(UndoReport::Reason::missing);
            }
        }

        // Folder and name key -> the present operations whose item now holds that name.
        std::unordered_map<std::string, std::vector<std::size_t>> holders;
        const auto slot = [&](std::size_t index, const std::string& name) {
            const std::string& folder = folderOf.at(index);
            return folder + '\0' + NameKey(name, isCaseSensitive(folder)).text();
        };
        for (const std::size_t index : present) {
            holders[slot(index, operations[index].to)].push_back(index);
        }
        std::vector<std::size_t> ready;
        for (const std::size_t index : present) {
            const Operation& operation = operations[index];
            const std::string& folder = folderOf.at(index);
            bool isFree = !fileSystem_->exists(Paths::join(folder, operation.from)) ||
                          slot(index, operation.from) == slot(index, operation.to);
            if (!isFree) {
                const auto found = holders.find(slot(index, operation.from));
                if (found != holders.end()) {
                    for (const std::size_t other : found->second) {
                        isFree = isFree || other != index;
                    }
                }
            }
            if (isFree) {
                ready.push_back(index);
            } else {
                report.statuses[index] = Status::changedSince(UndoReport::Reason::targetOccupied);
            }
        }

        if (dryRun) {
            for (const std::size_t index : ready) {
                report.statuses[index] = Status::reverted();
            }
            report.transaction = transaction;
            return report;
        }

        std::vector<PlannedRename> renames;
        renames.reserve(ready.size());
        for (const std::size_t index : ready) {
            renames.push_back(
                PlannedRename{folderOf.at(index), operations[index].to, operations[index].from});
        }
        const auto steps = planner(isCaseSensitive).plan(renames);
        std::vector<bool> finished(ready.size(), false);       // by ready position: put back or failed
        std::unordered_map<std::size_t, std::string> parkedAt; // ready position -> temporary name
        const auto finish = [&](std::size_t position, Status status) {
            finished[position] = true;
            parkedAt.erase(position);
            if (status.kind == Status::Kind::reverted) {
                operations[ready[position]].isReverted = true;
            }
            report.statuses[ready[position]] = std::move(status);
        };
        // An item parked under a temporary name whose last move failed or was
        // never made: on to the name the undo wanted where `mayGoOn`, else
        // back to the one it had before the undo, whichever is free; failing
        // both, its status says where it is.
        const auto settle = [&](std::size_t position, const std::string& why, bool mayGoOn) {
            const PlannedRename& rename = renames[position];
            const std::string& temporary = parkedAt.at(position);
            const std::string parked = Paths::join(rename.directory, temporary);
            if (mayGoOn && !attemptMove(parked, Paths::join(rename.directory, rename.to))) {
                finish(position, Status::reverted());
            } else if (!attemptMove(parked, Paths::join(rename.directory, rename.from))) {
                finish(position, mayGoOn ? Status::notRun() : Status::failed(why));
            } else {
                finish(position,
                       Status::failed(localized("%@ (it is now named \u201C%@\u201D)", why, temporary)));
            }
        };

        control.report(BatchProgress::Phase::undoing, 0, steps.size());
        bool stopped = false;
        for (std::size_t done = 0; done < steps.size(); ++done) {
            const MoveStep& step = steps[done];
            if (control.stopRequested()) {
                stopped = true;
                break;
            }
            if (!finished[step.operation]) {
                const auto error =
                    attemptMove(Paths::join(step.directory, step.from), Paths::join(step.directory, step.to));
                if (!error && step.isTemporary) {
                    parkedAt[step.operation] = step.to;
                } else if (!error) {
                    finish(step.operation, Status::reverted());
                } else if (parkedAt.contains(step.operation)) {
                    settle(step.operation, *error, false);
                } else {
                    finish(step.operation, Status::failed(*error));
                }
            }
            control.report(BatchProgress::Phase::undoing, done + 1, steps.size());
        }
        if (stopped) {
            const std::string why = localized("Stopped by the user");
            for (std::size_t position = 0; position < ready.size(); ++position) {
                if (parkedAt.contains(position)) {
                    settle(position, why, true);
                } else if (!finished[position]) {
                    finish(position, Status::notRun());
                }
            }
        }
    } catch (...) {
        // Only bookkeeping can throw here (moves report their own failures):
        // what has not been decided yet has not been touched.
        const std::string message = messageOf(std::current_exception());
        for (const std::size_t index : candidates) {
            report.statuses.try_emplace(index, Status::failed(message));
        }
    }
    return report;
}

} // namespace morvane

#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/transactions/BatchMoves.h"
#include "engine/transactions/FolderNameKeys.h"
#include "engine/transactions/FolderPresence.h"
#include "engine/transactions/ItemIdentities.h"
#include "engine/transactions/RenameExecutor.h"

#include <deque>
#include <functional>
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

    // Nothing when the folder has not been renamed.
    std::optional<std::string> of(const std::string& directory) const {
        if (newNames_.empty()) {
            return std::nullopt;
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
        return changed ? std::optional<std::string>(std::move(current)) : std::nullopt;
    }

private:
    std::unordered_map<std::string, std::string> newNames_; // recorded folder path -> its new name
};

// The present operations whose old name is free, in order: nothing holds it,
// or the item itself does (its names differ only as the volume does not
// tell), or another present item of its folder, which moves away during the
// undo. The others are marked as finding their name taken.
std::vector<std::size_t> readyToPutBack(const std::vector<Operation>& operations,
                                        const std::vector<std::size_t>& present,
                                        const std::vector<std::string_view>& folderOf, FolderPresence& checks,
                                        const std::function<bool(const std::string&)>& isCaseSensitive,
                                        std::map<std::size_t, Status>& statuses) {
    // Folder by folder, so that names are keyed once per folder.
    std::unordered_map<std::string_view, std::vector<std::size_t>> byFolder; // positions in `present`
    std::vector<std::string_view> folders;
    for (std::size_t position = 0; position < present.size(); ++position) {
        const std::string_view folder = folderOf[present[position]];
        auto& members = byFolder[folder];
        if (members.empty()) {
            folders.push_back(folder);
        }
        members.push_back(position);
    }
    std::vector<bool> isFree(present.size(), false);
    FolderNameKeys keys;
    std::vector<std::uint32_t> holders; // by key: present items now named so
    std::vector<std::uint32_t> toKey;   // by member
    for (const std::string_view folder : folders) {
        const auto& members = byFolder.at(folder);
        keys.reset(isCaseSensitive(std::string(folder)), members.size() * 2);
        holders.clear();
        toKey.clear();
        const auto number = [&](const std::string& name) {
            const std::uint32_t key = keys.number(name);
            if (key >= holders.size()) {
                holders.resize(key + 1, 0);
            }
            return key;
        };
        for (const std::size_t position : members) {
            toKey.push_back(number(operations[present[position]].to));
            ++holders[toKey.back()];
        }
        for (std::size_t member = 0; member < members.size(); ++member) {
            const std::size_t position = members[member];
            const Operation& operation = operations[present[position]];
            if (!checks.exists(folder, operation.from)) {
                isFree[position] = true;
                continue;
            }
            // Another item holding the name is one whose key differs from this one's new name.
            const std::uint32_t fromKey = number(operation.from);
            isFree[position] = fromKey == toKey[member] || holders[fromKey] > 0;
        }
    }
    std::vector<std::size_t> ready;
    for (std::size_t position = 0; position < present.size(); ++position) {
        if (isFree[position]) {
            ready.push_back(present[position]);
        } else {
            statuses[present[position]] = Status::changedSince(UndoReport::Reason::targetOccupied);
        }
    }
    return ready;
}

} // namespace

UndoReport RenameExecutor::undo(const RenameTransaction& transaction, bool dryRun,
                                const BatchControl& control, MoveJournal* journal) const {
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
        // Each candidate's folder as it is now: its recorded one, or where a
        // renamed folder above it took it (kept in a deque, which never moves them).
        const CurrentFolders currentFolders(operations, candidates);
        std::deque<std::string> renamedFolders;
        std::vector<std::string_view> folderOf(operations.size());
        FolderPresence checks(*fileSystem_, isCaseSensitive);
        for (const std::size_t index : candidates) {
            if (auto renamed = currentFolders.of(operations[index].directory)) {
                folderOf[index] = renamedFolders.emplace_back(std::move(*renamed));
            } else {
                folderOf[index] = operations[index].directory;
            }
            checks.expect(folderOf[index], 2); // its new name, then perhaps its old one
        }
        std::vector<std::size_t> present;
        for (const std::size_t index : candidates) {
            report.folders[index] = std::string(folderOf[index]);
            if (checks.exists(folderOf[index], operations[index].to)) {
                present.push_back(index);
            } else {
                report.statuses[index] = Status::changedSince(UndoReport::Reason::missing);
            }
        }

        const std::vector<std::size_t> ready =
            readyToPutBack(operations, present, folderOf, checks, isCaseSensitive, report.statuses);
        if (dryRun) {
            for (const std::size_t index : ready) {
                report.statuses[index] = Status::reverted();
            }
            report.transaction = transaction;
            return report;
        }

        std::vector<MovePlanner::RenameRef> renames;
        renames.reserve(ready.size());
        for (const std::size_t index : ready) {
            renames.push_back({folderOf[index], operations[index].to, operations[index].from});
        }
        const MoveOrder order = planner(isCaseSensitive).order(renames);
        if (journal != nullptr) {
            journal->begin(renames, order, ready, ItemIdentities::of(*fileSystem_, renames));
        }
        BatchMoves moves(*fileSystem_, renames, order, journal);
        using Place = MoveJournal::Place;
        std::vector<bool> finished(ready.size(), false); // by ready position: put back or failed
        std::vector<bool> parked(ready.size(), false);   // under its temporary name
        const auto finish = [&](std::uint32_t position, Status status) {
            finished[position] = true;
            parked[position] = false;
            if (status.kind == Status::Kind::reverted) {
                operations[ready[position]].isReverted = true;
            }
            report.statuses[ready[position]] = std::move(status);
        };
        // An item parked under a temporary name whose last move failed or was
        // never made: on to the name the undo wanted where `mayGoOn`, else
        // back to the one it had before the undo, whichever is free; failing
        // both, its status says where it is.
        const auto settle = [&](std::uint32_t position, const std::string& why, bool mayGoOn) {
            if (mayGoOn && !moves.between(position, Place::temporary, Place::target)) {
                finish(position, Status::reverted());
            } else if (!moves.between(position, Place::temporary, Place::original)) {
                finish(position, mayGoOn ? Status::notRun() : Status::failed(why));
            } else {
                finish(position, Status::failed(localized("%@ (it is now named \u201C%@\u201D)", why,
                                                          *order.temporaryName(position))));
            }
        };

        control.report(BatchProgress::Phase::undoing, 0, order.moves.size());
        bool stopped = false;
        for (std::size_t done = 0; done < order.moves.size(); ++done) {
            const MoveOrder::Move& move = order.moves[done];
            if (control.stopRequested()) {
                stopped = true;
                break;
            }
            if (!finished[move.rename]) {
                const auto error = moves.forward(move);
                if (!error && move.isTemporary) {
                    parked[move.rename] = true;
                } else if (!error) {
                    finish(move.rename, Status::reverted());
                } else if (parked[move.rename]) {
                    settle(move.rename, *error, false);
                } else {
                    finish(move.rename, Status::failed(*error));
                }
            }
            control.report(BatchProgress::Phase::undoing, done + 1, order.moves.size());
        }
        if (stopped) {
            const std::string why = localized("Stopped by the user");
            for (std::uint32_t position = 0; position < ready.size(); ++position) {
                if (parked[position]) {
                    settle(position, why, true);
                } else if (!finished[position]) {
                    finish(position, Status::notRun());
                }
            }
        }
    } catch (...) {
        // Only bookkeeping can throw here (moves report their own failures),
        // and the journal before the first move: what has not been decided
        // yet has not been touched.
        const std::string message = FolderMoves::messageOf(std::current_exception());
        for (const std::size_t index : candidates) {
            report.statuses.try_emplace(index, Status::failed(message));
        }
    }
    return report;
}

} // namespace morvane

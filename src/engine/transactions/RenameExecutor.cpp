#include "engine/transactions/RenameExecutor.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/support/Uuid.h"
#include "engine/transactions/BatchMoves.h"
#include "engine/transactions/ItemIdentities.h"

#include <chrono>
#include <exception>
#include <span>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;
using State = Operation::State;
using Outcome = RenameTransaction::Outcome;
using RenameRef = MovePlanner::RenameRef;

// Nothing has been moved: the batch simply did not run.
void didNotRun(RenameTransaction& transaction, std::string failure) {
    transaction.failure = std::move(failure);
    transaction.outcome = Outcome::rolledBack;
    for (Operation& operation : transaction.operations) {
        operation.state = State::notRun;
    }
}

// Puts back the moves done so far, last first, whatever fails on the way.
Outcome rollBack(BatchMoves& moves, std::span<const MoveOrder::Move> done, std::vector<Operation>& operations,
                 const BatchControl& control) {
    Outcome result = Outcome::rolledBack;
    std::vector<bool> stuck(operations.size(), false);
    control.report(BatchProgress::Phase::puttingBack, 0, done.size());
    std::size_t putBack = 0;
    for (auto move = done.rbegin(); move != done.rend(); ++move) {
        if (const auto error = moves.back(*move)) {
            stuck[move->rename] = true;
            operations[move->rename].message = localized("Could not be put back: ") + *error;
            result = Outcome::rollbackFailed;
        }
        control.report(BatchProgress::Phase::puttingBack, ++putBack, done.size());
    }
    for (std::size_t i = 0; i < operations.size(); ++i) {
        if (operations[i].state == State::done && !stuck[i]) {
            operations[i].state = State::rolledBack;
        } else if (stuck[i] && operations[i].state != State::done) {
            operations[i].state = State::failed; // left under a temporary name
        }
    }
    return result;
}

} // namespace

RenameExecutor::RenameExecutor(std::shared_ptr<FileSystem> fileSystem, std::function<Date()> now,
                               std::function<std::string()> temporaryName)
    : fileSystem_(std::move(fileSystem)), now_(std::move(now)), temporaryName_(std::move(temporaryName)) {}

Date RenameExecutor::systemNow() {
    return std::chrono::system_clock::now();
}

std::string RenameExecutor::randomTemporaryName() {
    // One string, made to size: a batch of cycles asks for tens of thousands.
    static constexpr std::string_view kPrefix = ".morvane-tmp-";
    std::string name;
    name.reserve(kPrefix.size() + 36);
    name = kPrefix;
    Uuid::random().appendText(name);
    return name;
}

MovePlanner RenameExecutor::planner(std::function<bool(const std::string&)> isCaseSensitive) const {
    return MovePlanner{std::move(isCaseSensitive), temporaryName_};
}

RenameTransaction RenameExecutor::execute(const std::vector<RenameOperation>& operations,
                                          const std::string& directory,
                                          const std::optional<std::string>& presetName,
                                          const BatchControl& control) const {
    RenameTransaction transaction;
    try {
        transaction.id = Uuid::random();
        transaction.date = now_();
        transaction.directory = directory;
        transaction.presetName = presetName;
        transaction.operations.reserve(operations.size());
        for (const RenameOperation& operation : operations) {
            transaction.operations.push_back(
                Operation{operation.item.id, operation.item.directory, operation.from, operation.to,
                          operation.item.isDirectory, State::pending, std::nullopt, false});
        }
    } catch (...) {
        didNotRun(transaction, FolderMoves::messageOf(std::current_exception()));
        return transaction;
    }
    carryOut(transaction, control);
    return transaction;
}

void RenameExecutor::carryOut(RenameTransaction& transaction, const BatchControl& control,
                              MoveJournal* journal) const {
    std::vector<RenameRef> renames;
    MoveOrder order;
    try {
        renames.reserve(transaction.operations.size());
        for (const Operation& operation : transaction.operations) {
            renames.push_back(RenameRef{operation.directory, operation.from, operation.to});
        }
        const FileSystem& fileSystem = *fileSystem_;
        order = planner([&fileSystem](const std::string& folder) {
                    return fileSystem.isCaseSensitive(folder);
                }).order(renames);
        if (journal != nullptr) {
            journal->begin(renames, order, {}, ItemIdentities::of(*fileSystem_, renames));
        }
    } catch (...) {
        didNotRun(transaction, FolderMoves::messageOf(std::current_exception()));
        return;
    }

    // The moves are attempted in order and the batch stops at the first
    // failure, so the moves done are always the ones before it.
    BatchMoves moves(*fileSystem_, renames, order, journal);
    const std::size_t total = order.moves.size();
    control.report(BatchProgress::Phase::renaming, 0, total);
    for (std::size_t index = 0; index < total; ++index) {
        const MoveOrder::Move& move = order.moves[index];
        std::optional<std::string> error;
        if (control.stopRequested()) {
            transaction.failure = localized("Stopped by the user");
        } else {
            error = moves.forward(move);
            if (!error) {
                if (!move.isTemporary) {
                    transaction.operations[move.rename].state = State::done;
                }
                control.report(BatchProgress::Phase::renaming, index + 1, total);
                continue;
            }
            Operation& failing = transaction.operations[move.rename];
            failing.state = State::failed;
            failing.message = *error;
            transaction.failure = *error;
        }
        transaction.outcome =
            rollBack(moves, std::span(order.moves).first(index), transaction.operations, control);
        for (Operation& operation : transaction.operations) {
            if (operation.state == State::pending) {
                operation.state = State::notRun;
            }
        }
        break;
    }
}

} // namespace morvane

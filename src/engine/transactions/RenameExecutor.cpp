#include "engine/transactions/RenameExecutor.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/support/Uuid.h"

#include <chrono>
#include <exception>
#include <span>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;
using State = Operation::State;
using Outcome = RenameTransaction::Outcome;

// Paths::join into a buffer kept from one move to the next: a large batch
// would otherwise make and free two path strings per move.
void joinInto(std::string& path, const std::string& directory, const std::string& name) {
    path.assign(directory);
    if (!directory.empty() && directory.back() != '/') {
        path += '/';
    }
    path += name;
}

} // namespace

std::string RenameExecutor::messageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const FileSystemError& fileSystemError) {
        return fileSystemError.message();
    } catch (const std::exception& other) {
        return other.what();
    } catch (...) {
        return localized("An unknown error occurred");
    }
}

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

std::optional<std::string> RenameExecutor::attemptMove(const std::string& from, const std::string& to) const {
    try {
        fileSystem_->move(from, to);
        return std::nullopt;
    } catch (...) {
        return messageOf(std::current_exception());
    }
}

RenameTransaction RenameExecutor::execute(const std::vector<RenameOperation>& operations,
                                          const std::string& directory,
                                          const std::optional<std::string>& presetName,
                                          const BatchControl& control) const {
    RenameTransaction transaction;
    std::vector<PlannedRename> renames;
    std::vector<MoveStep> steps;
    try {
        transaction.id = Uuid::random();
        transaction.date = now_();
        transaction.directory = directory;
        transaction.presetName = presetName;
        transaction.operations.reserve(operations.size());
        renames.reserve(operations.size());
        for (const RenameOperation& operation : operations) {
            transaction.operations.push_back(
                Operation{operation.item.id, operation.item.directory, operation.from, operation.to,
                          operation.item.isDirectory, State::pending, std::nullopt, false});
            renames.push_back(PlannedRename{operation.item.directory, operation.from, operation.to});
        }
        const FileSystem& fileSystem = *fileSystem_;
        // The renames are not needed afterwards: their strings move into the steps.
        steps = planner([&fileSystem](const std::string& folder) {
                    return fileSystem.isCaseSensitive(folder);
                }).plan(std::move(renames));
    } catch (...) {
        // Nothing has been moved: the batch simply did not run.
        transaction.failure = messageOf(std::current_exception());
        transaction.outcome = Outcome::rolledBack;
        for (Operation& operation : transaction.operations) {
            operation.state = State::notRun;
        }
        return transaction;
    }

    // The steps are attempted in order and the batch stops at the first
    // failure, so the moves done are always the steps before it.
    std::string fromPath;
    std::string toPath;
    control.report(BatchProgress::Phase::renaming, 0, steps.size());
    for (std::size_t index = 0; index < steps.size(); ++index) {
        const MoveStep& step = steps[index];
        std::optional<std::string> error;
        if (control.stopRequested()) {
            transaction.failure = localized("Stopped by the user");
        } else {
            joinInto(fromPath, step.directory, step.from);
            joinInto(toPath, step.directory, step.to);
            error = attemptMove(fromPath, toPath);
            if (!error) {
                if (!step.isTemporary) {
                    transaction.operations[step.operation].state = State::done;
                }
                control.report(BatchProgress::Phase::renaming, index + 1, steps.size());
                continue;
            }
            Operation& failing = transaction.operations[step.operation];
            failing.state = State::failed;
            failing.message = *error;
            transaction.failure = *error;
        }
        transaction.outcome = rollBack(std::span(steps).first(index), transaction.operations, control);
        for (Operation& operation : transaction.operations) {
            if (operation.state == State::pending) {
                operation.state = State::notRun;
            }
        }
        break;
    }
    return transaction;
}

Outcome RenameExecutor::rollBack(std::span<const MoveStep> done, std::vector<Operation>& operations,
                                 const BatchControl& control) const {
    Outcome result = Outcome::rolledBack;
    std::vector<bool> stuck(operations.size(), false);
    control.report(BatchProgress::Phase::puttingBack, 0, done.size());
    std::size_t putBack = 0;
    for (auto step = done.rbegin(); step != done.rend(); ++step) {
        const auto error =
            attemptMove(Paths::join(step->directory, step->to), Paths::join(step->directory, step->from));
        if (error) {
            stuck[step->operation] = true;
            operations[step->operation].message = localized("Could not be put back: ") + *error;
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

} // namespace morvane

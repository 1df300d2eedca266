#include "engine/transactions/BatchRunner.h"

#include "engine/filesystem/NamesTakenOnDisk.h"
#include "engine/filesystem/SystemErrorText.h"
#include "engine/support/Localization.h"

#include <algorithm>
#include <system_error>

namespace morvane {
namespace {

// The history's error as a sentence naming its folder.
std::string historyErrorText(const std::string& directory, const std::exception& error) {
    const auto* system = dynamic_cast<const std::system_error*>(&error);
    const std::string reason = system != nullptr ? systemErrorText(system->code().value()) : error.what();
    return localized("The history folder \u201C%@\u201D cannot be written: %@", directory, reason);
}

bool refuses(const BatchRunner::Request& request, const RenamePlan& plan) {
    return request.refuseRuleErrors && !plan.ruleErrors.empty();
}

} // namespace

BatchRunner::BatchRunner(Services services) : services_(std::move(services)) {}

RenameExecutor BatchRunner::executor() const {
    return RenameExecutor(services_.fileSystem, services_.now, services_.temporaryName);
}

RenamePlan BatchRunner::plan(const Request& request) const {
    RenamePlan result = request.pipeline.plan(request.items);
    if (!request.folder) {
        markNamesTakenOnDisk(result, *services_.fileSystem);
    }
    return result;
}

HistoryRecording BatchRunner::record(const RenameTransaction& transaction) const {
    if (!services_.history) {
        return {HistoryRecording::Kind::disabled, {}};
    }
    try {
        services_.history->save(transaction);
        return {HistoryRecording::Kind::recorded, {}};
    } catch (const std::exception& error) {
        return {HistoryRecording::Kind::failed, historyErrorText(services_.history->directory(), error)};
    }
}

BatchOutcome BatchRunner::rename(Request request, const BatchControl& control) const {
    RenamePlan planned = plan(request);
    std::vector<std::string> leftOut;
    // Each round leaves out at least one included item, so this ends.
    while (!refuses(request, planned) && request.skipConflicting && planned.hasConflicts()) {
        for (std::size_t i = 0; i < planned.entries.size(); ++i) {
            if (planned.entries[i].status.isConflict()) {
                request.items[i].isIncluded = false;
                leftOut.push_back(request.items[i].id);
            }
        }
        planned = plan(request);
    }
    BatchOutcome outcome;
    if (refuses(request, planned)) {
        outcome.status = BatchOutcome::Status::ruleErrors;
    } else {
        outcome = run(planned, request.folder, control);
    }
    outcome.plan = std::move(planned);
    outcome.leftOut = std::move(leftOut);
    return outcome;
}

BatchOutcome BatchRunner::run(const RenamePlan& plan, const std::optional<std::string>& folder,
                              const BatchControl& control) const {
    BatchOutcome outcome;
    if (plan.hasConflicts()) {
        outcome.status = BatchOutcome::Status::conflicts;
        return outcome;
    }
    const auto operations = plan.operations();
    if (operations.empty()) {
        outcome.status = BatchOutcome::Status::nothingToRename;
        return outcome;
    }
    // A batch that cannot be recorded can never be undone: find out before the first move.
    if (services_.history) {
        try {
            services_.history->prepare();
        } catch (const std::exception& error) {
            outcome.status = BatchOutcome::Status::historyUnavailable;
            outcome.historyError = historyErrorText(services_.history->directory(), error);
            return outcome;
        }
    }

    const std::string directory = folder.value_or(operations.front().item.directory);
    RenameTransaction transaction = executor().execute(operations, directory, std::nullopt, control);
    outcome.status = BatchOutcome::Status::ran;
    outcome.wasStopped =
        transaction.outcome != RenameTransaction::Outcome::completed && control.stopRequested() &&
        std::none_of(transaction.operations.begin(), transaction.operations.end(), [](const auto& operation) {
            return operation.state == RenameTransaction::Operation::State::failed;
        });
    outcome.recording = transaction.appliedCount() > 0
                            ? record(transaction)
                            : HistoryRecording{HistoryRecording::Kind::notNeeded, {}};
    outcome.transaction = std::move(transaction);
    return outcome;
}

} // namespace morvane

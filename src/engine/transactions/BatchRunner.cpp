#include "engine/transactions/BatchRunner.h"

#include "engine/filesystem/NamesTakenOnDisk.h"
#include "engine/support/Localization.h"
#include "engine/transactions/BatchRecorder.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace morvane {
namespace {

bool refuses(const BatchRunner::Request& request, const RenamePlan& plan) {
    return request.refuseRuleErrors && (!plan.ruleErrors.empty() || plan.hasItemErrors());
}

// The notes about excluded entries of `from`, which planning `into` anew
// (with the same items in the same order) no longer makes.
void keepNotesOfExcluded(std::vector<ItemNote> from, RenamePlan& into) {
    std::erase_if(from, [&](const ItemNote& note) {
        return into.entries[note.entry].status.kind != RenameStatus::Kind::excluded;
    });
    if (from.empty()) {
        return;
    }
    std::vector<ItemNote> merged;
    merged.reserve(from.size() + into.notes.size());
    std::merge(std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()),
               std::make_move_iterator(into.notes.begin()), std::make_move_iterator(into.notes.end()),
               std::back_inserter(merged),
               [](const ItemNote& a, const ItemNote& b) { return a.entry < b.entry; });
    into.notes = std::move(merged);
}

// The items of `plan`, taken out of it.
std::vector<FileItem> takeItems(RenamePlan& plan) {
    std::vector<FileItem> items;
    items.reserve(plan.entries.size());
    for (auto& entry : plan.entries) {
        items.push_back(std::move(entry.item));
    }
    return items;
}

} // namespace

BatchRunner::BatchRunner(Services services) : services_(std::move(services)) {}

RenameExecutor BatchRunner::executor() const {
    return RenameExecutor(services_.fileSystem, services_.now, services_.temporaryName);
}

RenamePlan BatchRunner::planItems(const Request& request, std::vector<FileItem>&& items) {
    RenamePlan result = request.pipeline.plan(std::move(items));
    if (!request.skipItemsLackingMetadata || !result.hasItemErrors()) {
        return result;
    }
    // Leaving items out changes the others' numbering, so the rest is planned again.
    std::vector<ItemNote> reasons = std::move(result.notes);
    std::erase_if(reasons, [](const ItemNote& note) { return note.level != ItemNote::Level::error; });
    std::vector<FileItem> rest = takeItems(result);
    for (const ItemNote& note : reasons) {
        rest[note.entry].isIncluded = false;
    }
    result = request.pipeline.plan(std::move(rest));
    keepNotesOfExcluded(std::move(reasons), result);
    return result;
}

RenamePlan BatchRunner::plan(const Request& request) const {
    RenamePlan result = planItems(request, std::vector<FileItem>(request.items));
    if (!request.folder) {
        markNamesTakenOnDisk(result, *services_.fileSystem);
    }
    return result;
}

RenamePlan BatchRunner::plan(Request&& request) const {
    RenamePlan result = planItems(request, std::move(request.items));
    if (!request.folder) {
        markNamesTakenOnDisk(result, *services_.fileSystem);
    }
    return result;
}

HistoryRecording BatchRunner::recordingOf(const std::exception_ptr& error, bool recorded) const {
    if (!recorded) {
        return {HistoryRecording::Kind::notNeeded, {}};
    }
    if (!error) {
        return {HistoryRecording::Kind::recorded, {}};
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& failure) {
        return {HistoryRecording::Kind::failed, services_.history->cannotWrite(failure)};
    } catch (...) {
        return {HistoryRecording::Kind::failed,
                services_.history->cannotWrite(std::runtime_error(localized("An unknown error occurred")))};
    }
}

BatchOutcome BatchRunner::rename(Request request, const BatchControl& control) const {
    std::vector<std::string> leftOut;
    // The items go into the plan, and come back out of it for another round.
    RenamePlan planned = plan(std::move(request));
    // Each round leaves out at least one included item, so this ends.
    while (!refuses(request, planned) && request.skipConflicting && planned.hasConflicts()) {
        for (auto& entry : planned.entries) {
            if (entry.status.isConflict()) {
                entry.item.isIncluded = false;
                leftOut.push_back(entry.item.id);
            }
        }
        std::vector<ItemNote> notes = std::move(planned.notes);
        request.items = takeItems(planned);
        planned = plan(std::move(request));
        keepNotesOfExcluded(std::move(notes), planned);
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
    const auto& entries = plan.entries;
    const auto firstRenamed = std::find_if(entries.begin(), entries.end(),
                                           [](const auto& entry) { return entry.status.willRename(); });
    if (firstRenamed == entries.end()) {
        outcome.status = BatchOutcome::Status::nothingToRename;
        return outcome;
    }
    // A batch that cannot be recorded can never be undone: find out before the first move.
    if (services_.history) {
        try {
            services_.history->prepare();
        } catch (const std::exception& error) {
            outcome.status = BatchOutcome::Status::historyUnavailable;
            outcome.historyError = services_.history->cannotWrite(error);
            return outcome;
        }
    }

    RenameTransaction transaction;
    transaction.id = Uuid::random();
    transaction.date = services_.now();
    transaction.directory = folder.value_or(firstRenamed->item.directory);
    transaction.operations.reserve(static_cast<std::size_t>(std::count_if(
        firstRenamed, entries.end(), [](const auto& entry) { return entry.status.willRename(); })));
    for (auto entry = firstRenamed; entry != entries.end(); ++entry) {
        if (entry->status.willRename()) {
            const FileItem& item = entry->item;
            transaction.operations.push_back(RenameTransaction::Operation{
                item.id, item.directory, item.name, entry->newName, item.isDirectory,
                RenameTransaction::Operation::State::pending, std::nullopt, false});
        }
    }
    std::optional<BatchRecorder> recorder;
    if (services_.history) {
        recorder.emplace(*services_.history, BatchJournal::Kind::rename, transaction, transaction.date);
    }
    executor().carryOut(transaction, control, recorder ? &*recorder : nullptr);
    if (recorder && recorder->beginError()) {
        // The batch could not be made safe, so it did not start.
        try {
            std::rethrow_exception(recorder->beginError());
        } catch (const std::exception& error) {
            outcome.status = BatchOutcome::Status::historyUnavailable;
            outcome.historyError = services_.history->cannotWrite(error);
            return outcome;
        }
    }
    outcome.status = BatchOutcome::Status::ran;
    outcome.wasStopped =
        transaction.outcome != RenameTransaction::Outcome::completed && control.stopRequested() &&
        std::none_of(transaction.operations.begin(), transaction.operations.end(), [](const auto& operation) {
            return operation.state == RenameTransaction::Operation::State::failed;
        });
    const bool applied = transaction.appliedCount() > 0;
    if (!recorder) {
        outcome.recording = {applied ? HistoryRecording::Kind::disabled : HistoryRecording::Kind::notNeeded,
                             {}};
    } else {
        outcome.recording = recordingOf(recorder->finish(transaction, applied), applied);
    }
    outcome.transaction = std::move(transaction);
    return outcome;
}

} // namespace morvane

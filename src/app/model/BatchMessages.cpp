#include "app/model/BatchMessages.h"

#include "app/model/HomePath.h"
#include "app/model/Localizer.h"
#include "engine/support/Paths.h"

#include <algorithm>
#include <unordered_map>

namespace morvane::app {

std::optional<std::string> renameMessage(const BatchOutcome& outcome) {
    using Outcome = RenameTransaction::Outcome;
    if (outcome.status == BatchOutcome::Status::historyUnavailable) {
        return Localizer::format(
            "%@. Nothing was renamed: renames are recorded there so that they can be undone.",
            outcome.historyError);
    }
    if (!outcome.transaction) {
        return std::nullopt;
    }
    const RenameTransaction& transaction = *outcome.transaction;
    switch (transaction.outcome) {
    case Outcome::completed:
        return std::nullopt;
    case Outcome::rolledBack:
        if (outcome.wasStopped) {
            return Localizer::text("Renaming was stopped. Everything was put back.");
        }
        return Localizer::format(
            "Nothing was renamed: %@. Everything was put back.",
            transaction.failure.value_or(Localizer::text("a file could not be renamed")));
    case Outcome::rollbackFailed: {
        std::string message = Localizer::format(
            "Renaming stopped (%@) and some files could not be put back. Check Rename History.",
            transaction.failure.value_or(Localizer::text("error")));
        if (outcome.recording.kind == HistoryRecording::Kind::failed) {
            message += " " + Localizer::format("The batch could not be recorded in the history: %@",
                                               outcome.recording.error);
        }
        return message;
    }
    }
    return std::nullopt;
}

std::optional<std::string> undoMessage(const UndoOutcome& outcome) {
    using Kind = UndoReport::Status::Kind;
    if (outcome.status == UndoOutcome::Status::unreadable) {
        return outcome.historyError;
    }
    if (!outcome.report) {
        return std::nullopt;
    }
    const UndoReport& report = *outcome.report;
    if (report.statuses.empty()) {
        return Localizer::text("Nothing is left to undo in this batch.");
    }
    const std::size_t reverted = report.revertedCount();
    const std::size_t notRun = outcome.wasStopped ? report.count(Kind::notRun) : 0;
    // Every operation not put back, other than those a stop left for later:
    // its file changed since, or moving it failed.
    const std::size_t changed = report.statuses.size() - reverted - notRun;
    std::string message;
    if (notRun > 0) {
        message =
            Localizer::counted("Undo was stopped: %lld item was not put back. Undo again to put it back.",
                               "Undo was stopped: %lld items were not put back. Undo again to put them "
                               "back.",
                               notRun);
    }
    if (changed > 0) {
        message += message.empty() ? "" : " ";
        message +=
            reverted > 0
                ? Localizer::counted("%lld file has since changed \u2014 partial undo only.",
                                     "%lld files have since changed \u2014 partial undo only.", changed)
                : Localizer::counted("%lld file has since changed \u2014 nothing was put back.",
                                     "%lld files have since changed \u2014 nothing was put back.", changed);
    }
    return message.empty() ? std::nullopt : std::optional(message);
}

namespace {

// The items named when some could not be put back; the others are counted.
constexpr std::size_t namedLeftItems = 3;

std::string leftItemsText(const std::vector<const RecoveryOutcome::Left*>& left) {
    std::string names;
    for (std::size_t i = 0; i < std::min(left.size(), namedLeftItems); ++i) {
        names += names.empty() ? "" : "; ";
        names +=
            Localizer::format("\u201C%@\u201D \u2192 \u201C%@\u201D (%@)",
                              Paths::lastComponent(left[i]->path), left[i]->originalName, left[i]->reason);
    }
    if (left.size() > namedLeftItems) {
        const std::size_t others = left.size() - namedLeftItems;
        names = Localizer::counted("%@ and %lld other", "%@ and %lld others", others, names, others);
    }
    return Localizer::counted("%lld file could not be put back: %@.", "%lld files could not be put back: %@.",
                              left.size(), left.size(), names);
}

} // namespace

std::string unreadableRecordMessage(const UnfinishedBatch& batch, const std::string& home) {
    return Localizer::format("The record of an interrupted batch, \u201C%@\u201D, cannot be read (%@), so "
                             "its files cannot be put back.",
                             abbreviatingHome(batch.file, home), batch.problem.value_or(""));
}

std::string recoveryMessage(const std::vector<RecoveryOutcome>& outcomes, const std::string& home) {
    using Status = RecoveryOutcome::Status;
    std::size_t putBack = 0;
    std::vector<const RecoveryOutcome::Left*> left;
    bool anyRecorded = false;
    std::vector<std::string> problems;
    for (const RecoveryOutcome& outcome : outcomes) {
        putBack += outcome.putBackCount;
        for (const auto& item : outcome.left) {
            left.push_back(&item);
        }
        anyRecorded = anyRecorded || outcome.recording.kind == HistoryRecording::Kind::recorded;
        if (outcome.recording.kind == HistoryRecording::Kind::failed) {
            problems.push_back(Localizer::format("The batch could not be recorded in the history: %@",
                                                 outcome.recording.error));
        }
        if (outcome.status == Status::unreadable) {
            problems.push_back(unreadableRecordMessage(outcome.batch, home));
        }
    }
    std::vector<std::string> sentences;
    if (putBack > 0) {
        sentences.push_back(
            Localizer::counted("%lld file was put back.", "%lld files were put back.", putBack));
    }
    if (!left.empty()) {
        sentences.push_back(leftItemsText(left));
    }
    if (anyRecorded) {
        sentences.push_back(Localizer::text("Recorded in Rename History as it now stands."));
    }
    sentences.insert(sentences.end(), problems.begin(), problems.end());
    if (sentences.empty()) {
        // Finished meanwhile, or taken up by another process.
        sentences.push_back(Localizer::text("Nothing was left to put back."));
    }
    std::string message;
    for (const std::string& sentence : sentences) {
        message += (message.empty() ? "" : " ") + sentence;
    }
    return message;
}

namespace {

// Where an operation found its item when the batch, or its undo, began; none
// when the undo found it nowhere (its move had not been made).
std::optional<std::string> pathBefore(const RenameTransaction::Operation& operation,
                                      BatchDirection direction) {
    if (direction == BatchDirection::rename) {
        return operation.fromPath();
    }
    if (operation.state == RenameTransaction::Operation::State::done) {
        return operation.toPath();
    }
    return std::nullopt;
}

// The name the batch, or its undo, left the item with.
const std::string& nameAfter(const RenameTransaction::Operation& operation) {
    const bool renamed =
        operation.state == RenameTransaction::Operation::State::done && !operation.isReverted;
    return renamed ? operation.to : operation.from;
}

} // namespace

ItemList itemsAfter(const ItemList& items, const RenameTransaction& transaction, BatchDirection direction) {
    std::unordered_map<std::string, const RenameTransaction::Operation*> byPath;
    byPath.reserve(transaction.operations.size());
    for (const RenameTransaction::Operation& operation : transaction.operations) {
        if (auto path = pathBefore(operation, direction)) {
            byPath.emplace(std::move(*path), &operation);
        }
    }
    ItemList result = items;
    for (FileItem& item : result) {
        const auto found = byPath.find(item.id);
        if (found != byPath.end()) {
            item.name = nameAfter(*found->second);
            item.id = Paths::join(item.directory, item.name);
        }
    }
    return result;
}

std::string idAfter(const std::string& id, const RenameTransaction& transaction, BatchDirection direction) {
    for (const RenameTransaction::Operation& operation : transaction.operations) {
        if (pathBefore(operation, direction) == id) {
            return Paths::join(Paths::parent(id), nameAfter(operation));
        }
    }
    return id;
}

} // namespace morvane::app

#include "app/model/BatchMessages.h"

#include "app/model/Localizer.h"
#include "engine/support/Paths.h"

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

ItemList itemsAfter(const ItemList& items, const RenameTransaction& transaction) {
    std::unordered_map<std::string, std::size_t> concerning;
    concerning.reserve(transaction.operations.size() * 2);
    for (std::size_t i = 0; i < transaction.operations.size(); ++i) {
        // The first operation of a path wins.
        concerning.emplace(transaction.operations[i].fromPath(), i);
        concerning.emplace(transaction.operations[i].toPath(), i);
    }
    ItemList result = items;
    for (FileItem& item : result) {
        const auto found = concerning.find(item.id);
        if (found == concerning.end()) {
            continue;
        }
        const RenameTransaction::Operation& operation = transaction.operations[found->second];
        const bool renamed =
            operation.state == RenameTransaction::Operation::State::done && !operation.isReverted;
        item.name = renamed ? operation.to : operation.from;
        item.id = Paths::join(item.directory, item.name);
    }
    return result;
}

} // namespace morvane::app

#include "cli/BatchFeedback.h"
#include "cli/Commands.h"
#include "cli/UnfinishedText.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/support/IsoDate.h"
#include "engine/support/Localization.h"
#include "engine/transactions/Recovery.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <functional>
#include <ostream>

namespace morvane::cli {
namespace {

using Status = RecoveryOutcome::Status;

std::string_view kindText(BatchJournal::Kind kind) {
    return kind == BatchJournal::Kind::undo ? "undo" : "rename";
}

std::string_view statusText(Status status) {
    switch (status) {
    case Status::recovered:
        return "recovered";
    case Status::partlyRecovered:
        return "partlyRecovered";
    case Status::alreadyFinished:
        return "alreadyFinished";
    case Status::inUse:
        return "inUse";
    case Status::unreadable:
        return "unreadable";
    case Status::neverStarted:
        return "neverStarted";
    }
    return {};
}

std::string_view recordingText(HistoryRecording::Kind kind) {
    switch (kind) {
    case HistoryRecording::Kind::recorded:
        return "recorded";
    case HistoryRecording::Kind::notNeeded:
        return "notNeeded";
    case HistoryRecording::Kind::disabled:
        return "disabled";
    case HistoryRecording::Kind::failed:
        return "failed";
    }
    return {};
}

// "Batch 1A2B3C4D in /photos" or "Undo of batch 1A2B3C4D in /photos".
std::string batchName(const UnfinishedBatch& batch) {
    return printable(batch.kind == BatchJournal::Kind::undo
                         ? localized("Undo of batch %@ in %@", shortId(batch.batch), batch.directory)
                         : localized("Batch %@ in %@", shortId(batch.batch), batch.directory));
}

void printOutcome(const CommandContext& context, const RecoveryOutcome& outcome) {
    std::ostream& out = context.out;
    const auto count = [](std::size_t value) { return static_cast<long long>(value); };
    switch (outcome.status) {
    case Status::unreadable:
        context.err << "morvane-cli: "
                    << printable(
                           localized("The unfinished batch\u2019s record %@ cannot be used (%@); nothing was "
                                     "changed.",
                                     outcome.batch.file, outcome.batch.problem.value_or("")))
                    << "\n";
        return;
    case Status::inUse:
        out << batchName(outcome.batch) << ": " << localized("it is running in another process; left alone.")
            << "\n";
        return;
    case Status::alreadyFinished:
        out << batchName(outcome.batch) << ": "
            << localized("it had ended and was recorded; the record it left behind was removed.") << "\n";
        return;
    case Status::neverStarted:
        out << printable(outcome.batch.file) << ": "
            << localized("a batch stopped before its record was complete, so before it renamed anything; "
                         "the record was removed.")
            << "\n";
        return;
    case Status::recovered:
    case Status::partlyRecovered:
        break;
    }
    out << batchName(outcome.batch) << ": ";
    if (outcome.batch.hasEnded && outcome.left.empty()) {
        out << localized("it had ended without being recorded.");
        if (outcome.putBackCount > 0) {
            out << " "
                << localizedCount("%lld item put back.", "%lld items put back.", count(outcome.putBackCount));
        }
    } else if (outcome.left.empty()) {
        out << localizedCount("%lld item put back.", "%lld items put back.", count(outcome.putBackCount));
    } else {
        out << localizedCount("%lld item put back, ", "%lld items put back, ", count(outcome.putBackCount))
            << localizedCount("%lld could not be.", "%lld could not be.", count(outcome.left.size()));
    }
    out << "\n";
    for (const auto& left : outcome.left) {
        out << "  " << context.palette.paint(localized("Not put back"), Palette::red) << "  "
            << printable(left.path + " \u2192 " + left.originalName) << "  \u2014 " << printable(left.reason)
            << "\n";
    }
    if (outcome.recording.kind == HistoryRecording::Kind::recorded) {
        out << "  " << localized("Recorded in Rename History as it now stands.") << "\n";
    } else if (outcome.recording.kind == HistoryRecording::Kind::failed) {
        context.err << "morvane-cli: " << printable(outcome.recording.error) << "\n";
    }
}

nlohmann::json outcomeJson(const RecoveryOutcome& outcome) {
    if (outcome.status == Status::neverStarted) {
        return {{"file", outcome.batch.file}, {"status", statusText(outcome.status)}};
    }
    nlohmann::json json = unfinishedJson(outcome.batch);
    json.erase("unfinished");
    json["status"] = statusText(outcome.status);
    json["putBack"] = outcome.putBackCount;
    json["left"] = nlohmann::json::array();
    for (const auto& left : outcome.left) {
        json["left"].push_back(
            {{"path", left.path}, {"originalName", left.originalName}, {"reason", left.reason}});
    }
    json["recording"] = recordingText(outcome.recording.kind);
    if (!outcome.recording.error.empty()) {
        json["recordingError"] = outcome.recording.error;
    }
    return json;
}

// A batch starting in another process, whose record is still being written:
// nothing of it can be read yet but its file.
bool isStarting(const UnfinishedBatch& batch) {
    return batch.isInUse && batch.batch == Uuid();
}

// "Unfinished: rename of 9 items", "Running: undo of 3 items", "Not recorded: …".
std::string labelOf(const UnfinishedBatch& batch) {
    const auto items = static_cast<long long>(batch.itemCount);
    const bool isUndo = batch.kind == BatchJournal::Kind::undo;
    if (batch.isInUse) {
        return isUndo
                   ? localizedCount("Running: undo of %lld item", "Running: undo of %lld items", items)
                   : localizedCount("Running: rename of %lld item", "Running: rename of %lld items", items);
    }
    if (batch.hasEnded) {
        return isUndo ? localizedCount("Not recorded: undo of %lld item", "Not recorded: undo of %lld items",
                                       items)
                      : localizedCount("Not recorded: rename of %lld item",
                                       "Not recorded: rename of %lld items", items);
    }
    return isUndo
               ? localizedCount("Unfinished: undo of %lld item", "Unfinished: undo of %lld items", items)
               : localizedCount("Unfinished: rename of %lld item", "Unfinished: rename of %lld items", items);
}

} // namespace

nlohmann::json unfinishedJson(const UnfinishedBatch& batch) {
    nlohmann::json json{{"unfinished", true}, {"file", batch.file}};
    if (batch.problem) {
        json["problem"] = *batch.problem;
        return json;
    }
    if (isStarting(batch)) {
        json["isInUse"] = true;
        return json;
    }
    json["kind"] = kindText(batch.kind);
    json["id"] = batch.batch.text();
    json["date"] = IsoDate::format(batch.started);
    json["directory"] = batch.directory;
    json["items"] = batch.itemCount;
    json["hasEnded"] = batch.hasEnded;
    json["isInUse"] = batch.isInUse;
    return json;
}

void printUnfinished(std::ostream& out, const std::vector<UnfinishedBatch>& batches, const Palette& palette) {
    for (const UnfinishedBatch& batch : batches) {
        if (batch.problem) {
            out << palette.paint(localized("Unreadable"), Palette::red) << "  " << printable(batch.file)
                << ": " << printable(*batch.problem) << "\n";
            continue;
        }
        if (isStarting(batch)) {
            out << palette.paint(localized("Starting"), Palette::yellow) << "  " << printable(batch.file)
                << "\n";
            continue;
        }
        out << IsoDate::format(batch.started) << "  " << shortId(batch.batch) << "  "
            << palette.paint(labelOf(batch), batch.isInUse ? Palette::yellow : Palette::red) << "  "
            << printable(batch.directory) << "\n";
    }
    if (std::any_of(batches.begin(), batches.end(), [](const auto& batch) { return !batch.isInUse; })) {
        out << localized("Run morvane-cli recover to put their files back, or to record a batch that ended.")
            << "\n";
    }
}

int recoverBatches(const CommandContext& context) {
    const CliOptions& options = context.options;
    const Recovery recovery(std::make_shared<LocalFileSystem>(LocalFileSystem::Details::namesAndKinds),
                            HistoryStore(historyDirectory(options)));
    std::vector<RecoveryOutcome> outcomes;
    try {
        const BatchFeedback feedback(context, localized("Recovering\u2026"));
        if (!options.recoverId) {
            outcomes = recovery.recoverAll(feedback.control());
        } else {
            std::string wanted = *options.recoverId;
            std::transform(wanted.begin(), wanted.end(), wanted.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            for (const UnfinishedBatch& batch : recovery.unfinished()) {
                if (!batch.problem && !wanted.empty() && batch.batch.text().starts_with(wanted)) {
                    outcomes.push_back(recovery.recover(batch, feedback.control()));
                }
            }
            if (outcomes.empty()) {
                throw UsageError{"no unfinished batch has the id \u201C" + *options.recoverId +
                                 "\u201D (morvane-cli history lists them)"};
            }
        }
    } catch (const std::system_error& error) {
        throw UsageError{"cannot read the history in " + historyDirectory(options) + ": " + error.what()};
    }
    if (options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& outcome : outcomes) {
            list.push_back(outcomeJson(outcome));
        }
        context.out << list.dump(2) << "\n";
    } else if (outcomes.empty()) {
        context.out << localized("Nothing to recover.") << "\n";
    } else {
        for (const auto& outcome : outcomes) {
            printOutcome(context, outcome);
        }
    }
    return std::all_of(outcomes.begin(), outcomes.end(), std::mem_fn(&RecoveryOutcome::isWhole))
               ? ExitStatusSuccess
               : ExitStatusConflicts;
}

} // namespace morvane::cli

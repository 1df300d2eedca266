#include "cli/BatchFeedback.h"
#include "cli/Commands.h"
#include "cli/UnfinishedText.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/support/IsoDate.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/transactions/BatchRunner.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/Recovery.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace morvane::cli {
namespace {

using Kind = UndoReport::Status::Kind;

std::string shortId(const RenameTransaction& transaction) {
    return cli::shortId(transaction.id);
}

// "reverted", "failed", "notRun", or "changedSince:<reason>".
std::string statusText(const UndoReport::Status& status) {
    switch (status.kind) {
    case Kind::reverted:
        return "reverted";
    case Kind::failed:
        return "failed";
    case Kind::notRun:
        return "notRun";
    case Kind::changedSince:
        return "changedSince:" + std::string(rawValue(status.reason));
    }
    return {};
}

nlohmann::json undoJson(const UndoReport& report) {
    nlohmann::json json = nlohmann::json::parse(HistoryStore::encode(report.transaction));
    nlohmann::json statuses = nlohmann::json::object();
    for (const auto& [index, status] : report.statuses) {
        statuses[std::to_string(index)] = statusText(status);
    }
    json["statuses"] = std::move(statuses);
    return json;
}

void printUndo(std::ostream& out, const UndoReport& report, bool dryRun, const Palette& palette) {
    // One line per item, of a batch that may hold a hundred thousand: the
    // labels are worded once, and the lines go out a block at a time.
    const std::string reverted =
        palette.paint(dryRun ? localized("Would put back") : localized("Put back"), Palette::green);
    const std::string failed = palette.paint(localized("Failed"), Palette::red);
    const std::string missing = palette.paint(localized("Missing"), Palette::yellow);
    const std::string taken = palette.paint(localized("Name taken"), Palette::yellow);
    const std::string notRun = palette.paint(localized("Not put back"), Palette::yellow);
    std::string lines;
    for (const auto& [index, status] : report.statuses) {
        const auto& operation = report.transaction.operations.at(index);
        switch (status.kind) {
        case Kind::reverted:
            lines += reverted;
            break;
        case Kind::failed:
            lines += failed;
            break;
        case Kind::changedSince:
            lines += status.reason == UndoReport::Reason::missing ? missing : taken;
            break;
        case Kind::notRun:
            lines += notRun;
            break;
        }
        // Where the item was when the undo began, which is not its recorded
        // folder when a folder above it was renamed in the same batch.
        const auto folder = report.folders.find(index);
        const std::string& directory = folder != report.folders.end() ? folder->second : operation.directory;
        lines += "  ";
        lines += printable(Paths::join(directory, operation.to) + " \u2192 " + operation.from);
        if (!status.message.empty()) {
            lines += "  \u2014 ";
            lines += printable(status.message);
        }
        lines += '\n';
        if (lines.size() >= 1 << 16) {
            out << lines;
            lines.clear();
        }
    }
    out << lines;
}

// What became of the batch as a whole, one line per cause of what was not put back.
void printUndoSummary(std::ostream& out, const UndoOutcome& outcome, bool dryRun) {
    const auto count = [&](Kind kind) { return static_cast<long long>(outcome.count(kind)); };
    const long long reverted = count(Kind::reverted);
    const long long changed = count(Kind::changedSince);
    const long long failed = count(Kind::failed);
    const long long notRun = count(Kind::notRun);
    if (outcome.report->statuses.empty()) {
        out << localized("Nothing is left to undo in this batch.") << "\n";
        return;
    }
    if (changed + failed + notRun == 0) {
        out << (dryRun ? localizedCount("%lld item would be put back.", "%lld items would be put back.",
                                        reverted)
                       : localizedCount("%lld item put back.", "%lld items put back.", reverted))
            << "\n";
        return;
    }
    if (outcome.wasStopped) {
        out << localizedCount(
                   "Stopped by the user: %lld item was not put back; undo takes it back later.",
                   "Stopped by the user: %lld items were not put back; undo takes them back later.", notRun)
            << "\n";
    }
    if (changed > 0) {
        out << (reverted > 0
                    ? localizedCount("%lld file has since changed \u2014 partial undo only.",
                                     "%lld files have since changed \u2014 partial undo only.", changed)
                : dryRun
                    ? localizedCount("%lld file has since changed \u2014 nothing would be put back.",
                                     "%lld files have since changed \u2014 nothing would be put back.",
                                     changed)
                    : localizedCount("%lld file has since changed \u2014 nothing was put back.",
                                     "%lld files have since changed \u2014 nothing was put back.", changed))
            << "\n";
    }
    if (failed > 0) {
        out << (reverted > 0
                    ? localizedCount("%lld file could not be put back \u2014 partial undo only.",
                                     "%lld files could not be put back \u2014 partial undo only.", failed)
                    : localizedCount("%lld file could not be put back \u2014 nothing was put back.",
                                     "%lld files could not be put back \u2014 nothing was put back.", failed))
            << "\n";
    }
    if (outcome.next) {
        out << localized("The next batch that can be undone is %@, from %@: morvane-cli undo --id %@",
                         shortId(*outcome.next), IsoDate::format(outcome.next->date), shortId(*outcome.next))
            << "\n";
    }
}

void reportUnreadable(std::ostream& err, const std::vector<HistoryListing::Unreadable>& unreadable) {
    for (const auto& record : unreadable) {
        err << "morvane-cli: "
            << printable(localized("Skipped the history record %@: %@", record.file, record.reason)) << "\n";
    }
}

// The batches a crash left unfinished; none when the history cannot be read.
std::vector<UnfinishedBatch> unfinishedIn(const HistoryStore& store) {
    try {
        return Recovery(std::make_shared<LocalFileSystem>(), store).unfinished();
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

std::string shortId(const Uuid& id) {
    return id.text().substr(0, 8);
}

std::string historyDirectory(const CliOptions& options) {
    if (options.historyDirectory) {
        return *options.historyDirectory;
    }
    try {
        return HistoryStore::defaultDirectory();
    } catch (const std::exception& error) {
        throw UsageError{std::string("cannot find the history folder (use --history-dir): ") + error.what()};
    }
}

int undoLatest(const CommandContext& context) {
    const CliOptions& options = context.options;
    const BatchRunner runner(
        BatchRunner::Services{std::make_shared<LocalFileSystem>(), HistoryStore(historyDirectory(options))});
    UndoOutcome outcome;
    {
        const BatchFeedback feedback(context, localized("Undoing\u2026"));
        outcome = runner.undo({std::nullopt, options.undoId, options.dryRun}, feedback.control());
    }
    reportUnreadable(context.err, outcome.unreadable);
    switch (outcome.status) {
    case UndoOutcome::Status::unreadable:
        throw UsageError{outcome.historyError};
    case UndoOutcome::Status::noSuchBatch:
        throw UsageError{"no batch in the history has the id \u201C" + options.undoId.value_or("") +
                         "\u201D (morvane-cli history lists them)"};
    case UndoOutcome::Status::ambiguousId: {
        std::string ids;
        for (const auto& match : outcome.matches) {
            ids += (ids.empty() ? "" : ", ") + match.id.text();
        }
        throw UsageError{"the id \u201C" + options.undoId.value_or("") + "\u201D fits several batches (" +
                         ids + "); give more of it"};
    }
    case UndoOutcome::Status::interrupted:
        throw UsageError{"an undo of batch " + shortId(outcome.matches.front()) +
                         " was interrupted: run morvane-cli recover first, which puts its files back"};
    case UndoOutcome::Status::nothingToUndo:
        context.out << (options.json ? std::string("null") : localized("Nothing to undo.")) << "\n";
        if (!options.json) {
            // After a crash the files of its batch are for `recover`, not `undo`: say so.
            printUnfinished(context.out, unfinishedIn(HistoryStore(historyDirectory(options))),
                            context.palette);
        }
        return ExitStatusSuccess;
    case UndoOutcome::Status::ran:
        break;
    }
    if (outcome.recording.kind == HistoryRecording::Kind::failed) {
        context.err << "morvane-cli: "
                    << printable(localized("The history could not be updated: %@", outcome.recording.error))
                    << "\n";
    }
    const UndoReport& report = *outcome.report;
    if (options.json) {
        context.out << undoJson(report).dump(2) << "\n";
    } else {
        printUndo(context.out, report, options.dryRun, context.palette);
        printUndoSummary(context.out, outcome, options.dryRun);
    }
    return report.isPartial() ? ExitStatusConflicts : ExitStatusSuccess;
}

int listHistory(const CommandContext& context) {
    const HistoryStore store(historyDirectory(context.options));
    HistoryListing listing;
    std::vector<UnfinishedBatch> unfinished;
    try {
        listing = store.loadReporting();
        unfinished = Recovery(std::make_shared<LocalFileSystem>(), store).unfinished();
    } catch (const std::exception& error) {
        throw UsageError{"cannot read the history in " + store.directory() + ": " + error.what()};
    }
    reportUnreadable(context.err, listing.unreadable);
    const auto& transactions = listing.transactions;
    if (context.options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& batch : unfinished) {
            list.push_back(unfinishedJson(batch));
        }
        for (const auto& transaction : transactions) {
            list.push_back(nlohmann::json::parse(HistoryStore::encode(transaction)));
        }
        context.out << list.dump(2) << "\n";
        return ExitStatusSuccess;
    }
    printUnfinished(context.out, unfinished, context.palette);
    if (transactions.empty() && unfinished.empty()) {
        context.out << localized("No renames have been recorded.") << "\n";
    }
    for (const auto& transaction : transactions) {
        long long reverted = 0;
        for (const auto& operation : transaction.operations) {
            reverted += operation.isReverted ? 1 : 0;
        }
        const auto applied = static_cast<long long>(transaction.appliedCount());
        context.out << IsoDate::format(transaction.date) << "  " << shortId(transaction) << "  "
                    << localizedCount("%lld item renamed", "%lld items renamed", applied) << "  "
                    << printable(transaction.directory);
        if (transaction.outcome != RenameTransaction::Outcome::completed) {
            context.out << "  "
                        << context.palette.paint(std::string(rawValue(transaction.outcome)), Palette::red);
        }
        if (reverted > 0) {
            context.out << "  "
                        << context.palette.paint(reverted == applied
                                                     ? localized("undone")
                                                     : localizedCount("%lld undone", "%lld undone", reverted),
                                                 Palette::dim);
        }
        context.out << "\n";
    }
    return ExitStatusSuccess;
}

} // namespace morvane::cli

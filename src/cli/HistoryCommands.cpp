#include "cli/Commands.h"
#include "cli/SlowTaskNotice.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/support/IsoDate.h"
#include "engine/support/Localization.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/RenameExecutor.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace morvane::cli {
namespace {

// "reverted", "failed", or "changedSince:<reason>".
std::string statusText(const UndoReport::Status& status) {
    switch (status.kind) {
    case UndoReport::Status::Kind::reverted:
        return "reverted";
    case UndoReport::Status::Kind::failed:
        return "failed";
    case UndoReport::Status::Kind::changedSince:
        return "changedSince:" + std::string(rawValue(status.reason));
    case UndoReport::Status::Kind::notRun:
        return "notRun";
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
    for (const auto& [index, status] : report.statuses) {
        const auto& operation = report.transaction.operations.at(index);
        const std::string move = operation.to + " \u2192 " + operation.from;
        switch (status.kind) {
        case UndoReport::Status::Kind::reverted:
            out << palette.paint(dryRun ? localized("Would put back") : localized("Put back"),
                                 Palette::green);
            break;
        case UndoReport::Status::Kind::failed:
            out << palette.paint(localized("Failed"), Palette::red);
            break;
        case UndoReport::Status::Kind::changedSince:
            out << palette.paint(status.reason == UndoReport::Reason::missing ? localized("Missing")
                                                                              : localized("Name taken"),
                                 Palette::yellow);
            break;
        case UndoReport::Status::Kind::notRun:
            out << palette.paint(localized("Not put back"), Palette::yellow);
            break;
        }
        out << "  " << printable(operation.directory + "/" + move);
        if (!status.message.empty()) {
            out << "  \u2014 " << printable(status.message);
        }
        out << "\n";
    }
}

} // namespace

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
    const HistoryStore store(historyDirectory(context.options));
    std::optional<RenameTransaction> transaction;
    try {
        transaction = store.latestUndoable();
    } catch (const std::exception& error) {
        throw UsageError{"cannot read the history in " + store.directory() + ": " + error.what()};
    }
    if (!transaction) {
        if (!context.options.json) {
            context.out << localized("Nothing to undo.") << "\n";
        } else {
            context.out << "null\n";
        }
        return ExitStatusSuccess;
    }
    UndoReport report;
    {
        SlowTaskNotice notice(context.err, context.environment.errorsAreTerminal, localized("Undoing\u2026"));
        report =
            RenameExecutor(std::make_shared<LocalFileSystem>()).undo(*transaction, context.options.dryRun);
    }
    if (!context.options.dryRun) {
        try {
            store.save(report.transaction);
        } catch (const std::exception& error) {
            context.err << "morvane-cli: "
                        << localized("The history could not be updated: %@", std::string(error.what()))
                        << "\n";
        }
    }
    const std::size_t notPutBack = report.statuses.size() - report.revertedCount();
    if (context.options.json) {
        context.out << undoJson(report).dump(2) << "\n";
    } else {
        printUndo(context.out, report, context.options.dryRun, context.palette);
        if (notPutBack > 0) {
            context.out << localized("%lld files have since changed \u2014 partial undo only.", notPutBack)
                        << "\n";
        } else if (context.options.dryRun) {
            context.out << localized("%lld items would be put back.", report.revertedCount()) << "\n";
        } else {
            context.out << localized("%lld items put back.", report.revertedCount()) << "\n";
        }
    }
    return notPutBack > 0 ? ExitStatusConflicts : ExitStatusSuccess;
}

int listHistory(const CommandContext& context) {
    const HistoryStore store(historyDirectory(context.options));
    std::vector<RenameTransaction> transactions;
    try {
        transactions = store.load();
    } catch (const std::exception& error) {
        throw UsageError{"cannot read the history in " + store.directory() + ": " + error.what()};
    }
    if (context.options.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& transaction : transactions) {
            list.push_back(nlohmann::json::parse(HistoryStore::encode(transaction)));
        }
        context.out << list.dump(2) << "\n";
        return ExitStatusSuccess;
    }
    if (transactions.empty()) {
        context.out << localized("No renames have been recorded.") << "\n";
    }
    for (const auto& transaction : transactions) {
        std::size_t reverted = 0;
        for (const auto& operation : transaction.operations) {
            reverted += operation.isReverted ? 1 : 0;
        }
        context.out << IsoDate::format(transaction.date) << "  "
                    << localized("%lld items renamed", transaction.appliedCount()) << "  "
                    << printable(transaction.directory);
        if (transaction.outcome != RenameTransaction::Outcome::completed) {
            context.out << "  "
                        << context.palette.paint(std::string(rawValue(transaction.outcome)), Palette::red);
        }
        if (reverted > 0) {
            context.out << "  "
                        << context.palette.paint(reverted == transaction.appliedCount()
                                                     ? localized("undone")
                                                     : localized("%lld undone", reverted),
                                                 Palette::dim);
        }
        context.out << "\n";
    }
    return ExitStatusSuccess;
}

} // namespace morvane::cli

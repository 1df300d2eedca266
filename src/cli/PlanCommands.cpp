#include "cli/Commands.h"
#include "cli/ItemSource.h"
#include "cli/PlanOutput.h"
#include "cli/PresetLookup.h"
#include "cli/RuleArguments.h"
#include "cli/SlowTaskNotice.h"
#include "engine/core/ItemSelection.h"
#include "engine/core/PlanSummary.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/presets/PresetStore.h"
#include "engine/support/Localization.h"
#include "engine/transactions/HistoryStore.h"
#include "engine/transactions/RenameExecutor.h"

#include <algorithm>
#include <memory>
#include <ostream>

namespace morvane::cli {
namespace {

int exitFor(RenameTransaction::Outcome outcome) {
    switch (outcome) {
    case RenameTransaction::Outcome::completed:
        return ExitStatusSuccess;
    case RenameTransaction::Outcome::rolledBack:
        return ExitStatusRolledBack;
    case RenameTransaction::Outcome::rollbackFailed:
        return ExitStatusLeftBehind;
    }
    return ExitStatusLeftBehind;
}

// The same words the window uses for each way a batch can end.
std::string outcomeMessage(const RenameTransaction& transaction) {
    switch (transaction.outcome) {
    case RenameTransaction::Outcome::completed:
        return localized("%lld items renamed \u00B7 Recorded in Rename History.", transaction.appliedCount());
    case RenameTransaction::Outcome::rolledBack:
        return localized("Nothing was renamed: %@. Everything was put back.",
                         transaction.failure.value_or(localized("a file could not be renamed")));
    case RenameTransaction::Outcome::rollbackFailed:
        return localized("Renaming stopped (%@) and some files could not be put back. Check Rename History.",
                         transaction.failure.value_or(localized("error")));
    }
    return {};
}

int rename(const CommandContext& context, const RenamePlan& plan, const std::optional<std::string>& folder,
           const std::shared_ptr<FileSystem>& fileSystem) {
    const auto operations = plan.operations();
    if (operations.empty()) {
        // No batch, so no transaction to print.
        context.out << (context.options.json ? std::string("null") : localized("Nothing to rename.")) << "\n";
        return ExitStatusSuccess;
    }
    const std::string directory = folder.value_or(operations.front().item.directory);
    RenameTransaction transaction;
    {
        SlowTaskNotice notice(context.err, context.environment.errorsAreTerminal,
                              localized("Renaming\u2026"));
        transaction = RenameExecutor(fileSystem).execute(operations, directory, std::nullopt);
    }
    if (transaction.appliedCount() > 0) {
        try {
            HistoryStore(historyDirectory(context.options)).save(transaction);
        } catch (const std::exception& error) {
            // The files are renamed either way; the user should know undo may not find this batch.
            context.err << "morvane-cli: "
                        << localized("The batch could not be recorded in the history: %@",
                                     std::string(error.what()))
                        << "\n";
        }
    }
    if (context.options.json) {
        context.out << HistoryStore::encode(transaction) << "\n";
    } else {
        context.out << outcomeMessage(transaction) << "\n";
    }
    return exitFor(transaction.outcome);
}

// Dates and sizes cost a statx call per file, as much as listing the folder;
// only date-reading rules and the date and size orders need them.
LocalFileSystem::Details detailsNeeded(const RenamePipeline& pipeline, const ItemOrder& order) {
    const bool sortsByThem =
        order.field == ItemOrder::Field::modified || order.field == ItemOrder::Field::size;
    return pipeline.needsDetails() || sortsByThem ? LocalFileSystem::Details::all
                                                  : LocalFileSystem::Details::namesAndKinds;
}

} // namespace

int previewOrRename(const CommandContext& context) {
    const CliOptions& options = context.options;
    const PresetLookup presets(presetsDirectory(options), context.environment.workingDirectory);
    const BuiltRules rules = buildRules(options.rules, presets);
    for (const auto& warning : rules.warnings) {
        context.err << "morvane-cli: " << warning << "\n";
    }

    auto fileSystem = std::make_shared<LocalFileSystem>(detailsNeeded(rules.pipeline, options.order));
    ItemSource source;
    {
        SlowTaskNotice notice(context.err, context.environment.errorsAreTerminal, localized("Reading\u2026"));
        source = ItemSource::read(*fileSystem, options, context.environment.workingDirectory);
    }
    if (!source.unreadableNamesMessage.empty()) {
        context.err << "morvane-cli: " << source.unreadableNamesMessage << "\n";
    }

    ItemSelection selection;
    selection.order = options.order;
    selection.searchText = options.filter.value_or("");
    for (const auto& path : options.excluded) {
        selection.unchecked.insert(absolutePath(path, context.environment.workingDirectory));
    }
    RenamePlan plan = rules.pipeline.plan(selection.effectiveItems(source.items));

    const bool renaming = options.command == Command::rename;
    if (renaming && plan.hasConflicts() && options.skipConflicting) {
        for (auto& id : PlanSummary::of(plan).conflictIds) {
            selection.unchecked.insert(std::move(id));
        }
        plan = rules.pipeline.plan(selection.effectiveItems(source.items));
    }

    if (!renaming || plan.hasConflicts()) {
        if (options.json) {
            writePlanJson(context.out, plan);
        } else {
            const bool conflictsOnly = renaming;
            RenamePlan shown = plan;
            if (conflictsOnly) {
                std::erase_if(shown.entries, [](const auto& entry) { return !entry.status.isConflict(); });
            }
            printPlan(
                context.out,
                PlanView{shown, rules.pipeline, selection.unchecked, source.folder, options.onlyChanged},
                context.palette);
            if (renaming) {
                context.out << localized("Resolve conflicts before renaming") << " ("
                            << localized("or use --skip-conflicting") << ")\n";
            }
        }
        return plan.hasConflicts() ? ExitStatusConflicts : ExitStatusSuccess;
    }
    return rename(context, plan, source.folder, fileSystem);
}

std::string presetsDirectory(const CliOptions& options) {
    if (options.presetsDirectory) {
        return *options.presetsDirectory;
    }
    try {
        return PresetStore::defaultDirectory();
    } catch (const std::exception& error) {
        throw UsageError{std::string("cannot find the presets folder (use --presets-dir): ") + error.what()};
    }
}

} // namespace morvane::cli

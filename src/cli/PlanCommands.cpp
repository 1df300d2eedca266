#include "cli/BatchFeedback.h"
#include "cli/Commands.h"
#include "cli/ItemSource.h"
#include "cli/PlanOutput.h"
#include "cli/PresetLookup.h"
#include "cli/RuleArguments.h"
#include "cli/SlowTaskNotice.h"
#include "engine/core/ItemSelection.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/metadata/LibraryMetadataReader.h"
#include "engine/metadata/MetadataCache.h"
#include "engine/presets/PresetStore.h"
#include "engine/support/Localization.h"
#include "engine/transactions/BatchRunner.h"

#include <algorithm>
#include <memory>
#include <ostream>

namespace morvane::cli {
namespace {

using Recording = HistoryRecording::Kind;

int exitFor(const BatchOutcome& outcome) {
    switch (outcome.transaction->outcome) {
    case RenameTransaction::Outcome::completed:
        return outcome.recording.kind == Recording::failed ? ExitStatusNotRecorded : ExitStatusSuccess;
    case RenameTransaction::Outcome::rolledBack:
        return ExitStatusRolledBack;
    case RenameTransaction::Outcome::rollbackFailed:
        return ExitStatusLeftBehind;
    }
    return ExitStatusLeftBehind;
}

// The same words the window uses for each way a batch can end, and what
// became of its record. Failures often quote a name: they are made printable.
std::string outcomeMessage(const BatchOutcome& outcome) {
    const RenameTransaction& transaction = *outcome.transaction;
    const auto applied = static_cast<long long>(transaction.appliedCount());
    const std::string failure = printable(transaction.failure.value_or(""));
    const std::string recordingError = printable(outcome.recording.error);
    switch (transaction.outcome) {
    case RenameTransaction::Outcome::completed:
        switch (outcome.recording.kind) {
        case Recording::recorded:
        case Recording::notNeeded:
            return localizedCount("%lld item renamed \u00B7 Recorded in Rename History.",
                                  "%lld items renamed \u00B7 Recorded in Rename History.", applied);
        case Recording::disabled:
            return localizedCount("%lld item renamed \u00B7 Not recorded in Rename History.",
                                  "%lld items renamed \u00B7 Not recorded in Rename History.", applied);
        case Recording::failed:
            return localizedCount("%lld item renamed, but not recorded in Rename History, so it cannot be "
                                  "undone: %@",
                                  "%lld items renamed, but not recorded in Rename History, so they cannot be "
                                  "undone: %@",
                                  applied, applied, recordingError);
        }
        break;
    case RenameTransaction::Outcome::rolledBack:
        return localized("Nothing was renamed: %@. Everything was put back.",
                         transaction.failure ? failure : localized("a file could not be renamed"));
    case RenameTransaction::Outcome::rollbackFailed: {
        std::string message =
            localized("Renaming stopped (%@) and some files could not be put back. Check Rename History.",
                      transaction.failure ? failure : localized("error"));
        if (outcome.recording.kind == Recording::failed) {
            message += "\n" + localized("The batch could not be recorded in the history: %@", recordingError);
        }
        return message;
    }
    }
    return {};
}

// Dates and sizes cost a statx call per file, as much as listing the folder;
// only date-reading rules and the date and size orders need them.
LocalFileSystem::Details detailsNeeded(const RenamePipeline& pipeline, const ItemOrder& order) {
    const bool sortsByThem =
        order.field == ItemOrder::Field::modified || order.field == ItemOrder::Field::size;
    return pipeline.needsDetails().fileDates || sortsByThem ? LocalFileSystem::Details::all
                                                            : LocalFileSystem::Details::namesAndKinds;
}

// "Rule 2 (Regular Expression): …" for every rule that failed, then every
// item whose file lacks what a rule reads (a screenful at most).
void printRuleErrors(std::ostream& err, const RenamePlan& plan, const RenamePipeline& pipeline) {
    for (const auto& [step, message] : plan.ruleErrors) {
        err << "morvane-cli: "
            << printable(localized("Rule %lld (%@): %@", step + 1,
                                   title(pipeline.steps.at(step).rule->kind()), message))
            << "\n";
    }
    constexpr std::size_t shown = 20;
    std::size_t count = 0;
    for (const ItemNote& note : plan.notes) {
        if (note.level != ItemNote::Level::error ||
            plan.entries[note.entry].status.kind == RenameStatus::Kind::excluded) {
            continue;
        }
        if (++count <= shown) {
            err << "morvane-cli: "
                << printable(localized("Rule %lld (%@): %@", note.step + 1,
                                       title(pipeline.steps.at(note.step).rule->kind()), note.message))
                << "\n";
        }
    }
    if (count > shown) {
        err << "morvane-cli: "
            << "\u2026 and " << count - shown << " more\n";
    }
}

// The message that ends a refused batch: broken rules are fixed in the
// rules; files without what a rule reads can be left out instead.
std::string refusal(const RenamePlan& plan) {
    if (!plan.ruleErrors.empty()) {
        return localized("Nothing was renamed: fix the rules above first.");
    }
    return "Nothing was renamed: the files above lack what the rules read. Leave them out with "
           "--skip-missing-metadata.";
}

// Reads what the rules use of the files' contents, once per file, on
// several threads; nothing when no rule reads any.
std::shared_ptr<const MetadataCache> readMetadata(const CommandContext& context,
                                                  const RenamePipeline& pipeline,
                                                  const std::vector<FileItem>& items) {
    const ItemDetails wanted = pipeline.needsDetails();
    if (!wanted.contents()) {
        return nullptr;
    }
    auto cache = std::make_shared<MetadataCache>(std::make_shared<LibraryMetadataReader>());
    const SlowTaskNotice notice(context.err, context.environment.errorsAreTerminal,
                                localized("Reading\u2026"));
    cache->read(items, wanted);
    return cache;
}

void printConflicts(const CommandContext& context, const RenamePlan& plan, const RenamePipeline& pipeline,
                    const ItemSelection& selection, const std::optional<std::string>& folder) {
    RenamePlan shown = plan;
    std::erase_if(shown.entries, [](const auto& entry) { return !entry.status.isConflict(); });
    printPlan(context.out,
              PlanView{shown, pipeline, selection.unchecked, folder, context.options.onlyChanged},
              context.palette);
    context.out << localized("Resolve conflicts before renaming") << " ("
                << localized("or use --skip-conflicting") << ")\n";
}

int rename(const CommandContext& context, const BatchRunner& runner, BatchRunner::Request request,
           const ItemSelection& selection) {
    const bool json = context.options.json;
    const RenamePipeline pipeline = request.pipeline;
    const std::optional<std::string> folder = request.folder;
    BatchOutcome outcome;
    {
        const BatchFeedback feedback(context, localized("Renaming\u2026"));
        outcome = runner.rename(std::move(request), feedback.control());
    }
    switch (outcome.status) {
    case BatchOutcome::Status::ruleErrors:
        if (json) {
            writePlanJson(context.out, outcome.plan);
        }
        printRuleErrors(context.err, outcome.plan, pipeline);
        context.err << "morvane-cli: " << refusal(outcome.plan) << "\n";
        return ExitStatusUsage;
    case BatchOutcome::Status::conflicts:
        if (json) {
            writePlanJson(context.out, outcome.plan);
        } else {
            printConflicts(context, outcome.plan, pipeline, selection, folder);
        }
        return ExitStatusConflicts;
    case BatchOutcome::Status::nothingToRename:
        if (json) {
            writePlanJson(context.out, outcome.plan);
        } else {
            context.out << localized("Nothing to rename.") << "\n";
        }
        return ExitStatusSuccess;
    case BatchOutcome::Status::historyUnavailable:
        context.err << "morvane-cli: " << printable(outcome.historyError) << "\n"
                    << "morvane-cli: "
                    << localized("Nothing was renamed. Choose another folder with --history-dir, or rename "
                                 "without recording the batch with --no-history.")
                    << "\n";
        return ExitStatusUsage;
    case BatchOutcome::Status::ran:
        break;
    }
    if (json) {
        context.out << HistoryStore::encode(*outcome.transaction) << "\n";
        if (outcome.recording.kind == Recording::failed) {
            context.err << "morvane-cli: " << printable(outcome.recording.error) << "\n";
        }
    } else {
        context.out << outcomeMessage(outcome) << "\n";
    }
    return exitFor(outcome);
}

} // namespace

int previewOrRename(const CommandContext& context) {
    const CliOptions& options = context.options;
    const PresetLookup presets(presetsDirectory(options), context.environment.workingDirectory);
    const BuiltRules rules = buildRules(options.rules, presets);
    for (const auto& warning : rules.warnings) {
        context.err << "morvane-cli: " << printable(warning) << "\n";
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
    BatchRunner::Request request;
    request.items = selection.effectiveItems(std::move(source.items));
    request.pipeline = rules.pipeline;
    request.pipeline.metadata = readMetadata(context, request.pipeline, request.items);
    request.folder = source.folder;
    request.skipConflicting = options.skipConflicting;
    request.skipItemsLackingMetadata = options.skipItemsLackingMetadata;
    // A broken rule is refused, not bypassed: a script cannot see the mark a window shows.
    request.refuseRuleErrors = true;

    BatchRunner::Services services{fileSystem, std::nullopt};
    if (options.command == Command::rename) {
        if (!options.noHistory) {
            services.history = HistoryStore(historyDirectory(options));
        }
        return rename(context, BatchRunner(std::move(services)), std::move(request), selection);
    }

    const RenamePlan plan = BatchRunner(std::move(services)).plan(std::move(request));
    if (options.json) {
        writePlanJson(context.out, plan);
    } else {
        printPlan(context.out,
                  PlanView{plan, rules.pipeline, selection.unchecked, source.folder, options.onlyChanged},
                  context.palette);
    }
    if (!plan.ruleErrors.empty() || plan.hasItemErrors()) {
        return ExitStatusUsage;
    }
    return plan.hasConflicts() ? ExitStatusConflicts : ExitStatusSuccess;
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

#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <string_view>

namespace morvane::cli {
namespace {

const std::map<std::string, Command> kCommands{{"preview", Command::preview}, {"rename", Command::rename},
                                               {"undo", Command::undo},       {"history", Command::history},
                                               {"recover", Command::recover}, {"presets", Command::presets}};

// The options of the commands that plan (preview and rename), bound to `options`.
struct PlanningOptions {
    CLI::Option* preset = nullptr;
    CLI::Option* rule = nullptr;
    CLI::Option* replace = nullptr;
    CLI::Option* regex = nullptr;
    CLI::Option* letterCase = nullptr;
    CLI::Option* caseSensitive = nullptr;
    std::string sort = "name";
    bool noFiles = false;
    bool packagesAsFolders = false;
};

void addPlanningOptions(CLI::App& command, CliOptions& options, PlanningOptions& planning) {
    command
        .add_option("PATH", options.paths,
                    "One folder (its contents are renamed) or several files and folders (those themselves)")
        ->required();
    planning.preset = command.add_option("--preset", "The rules of a preset, by name or .morvanepreset file")
                          ->group("Rules, applied in command-line order");
    planning.rule =
        command
            .add_option("--rule",
                        "One rule as JSON, as in a preset file, e.g. '{\"kind\":\"counter\",\"width\":2}'. "
                        "Dates by when photos were taken: '{\"kind\":\"date\",\"source\":\"taken\"}'. "
                        "Template tokens: {name} {ext} {parent} {counter:000} {date:yyyyMMdd} "
                        "{created:yyyy-MM}, and from the files' metadata {taken:yyyy-MM-dd} {camera} "
                        "{width} {height} {artist} {album} {title} {track:00} {disc} {year} {genre}")
            ->group("Rules, applied in command-line order");
    planning.replace = command.add_option("--replace", "FIND=WITH: replace text (ignoring case)")
                           ->group("Rules, applied in command-line order");
    planning.caseSensitive = command.add_flag("--case-sensitive")
                                 ->description("Make the --replace before it respect case")
                                 ->group("Rules, applied in command-line order");
    planning.regex = command
                         .add_option("--regex", "PATTERN=REPLACEMENT: a regular expression ($1 for groups; "
                                                "write \\= for an = in the pattern, as in (?<\\=a)b)")
                         ->group("Rules, applied in command-line order");
    planning.letterCase =
        command
            .add_option("--case",
                        "STEM[,EXT]: same, lower, upper, title or sentence; ext: same, lower, upper")
            ->group("Rules, applied in command-line order");
    for (CLI::Option* option :
         {planning.preset, planning.rule, planning.replace, planning.regex, planning.letterCase}) {
        option->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)->allow_extra_args(false);
    }

    const char* scanning = "Scanning a folder";
    command.add_flag("--recursive", options.scan.recursive, "Include the contents of subfolders")
        ->group(scanning);
    command.add_flag("--folders", options.scan.includeFolders, "Include folders as items")->group(scanning);
    command.add_flag("--no-files", planning.noFiles, "Leave files out")->group(scanning);
    command.add_flag("--hidden", options.scan.includeHidden, "Include hidden items")->group(scanning);
    command.add_flag("--follow-symlinks", options.scan.followSymlinks, "Follow symbolic links")
        ->group(scanning);
    command.add_flag("--packages-as-folders", planning.packagesAsFolders, "List inside packages")
        ->group(scanning);

    const char* selection = "Selection and order";
    command.add_option("--filter", options.filter, "Only rename items whose names contain this text")
        ->type_name("TEXT")
        ->group(selection);
    command.add_option("--exclude", options.excluded, "Leave this item out (repeatable)")
        ->type_name("PATH")
        ->group(selection);
    command.add_option("--sort", planning.sort, "name, kind, modified, size or path")
        ->check(CLI::IsMember({"name", "kind", "modified", "size", "path"}))
        ->group(selection);
    command.add_flag("--descending")->description("Sort in descending order")->group(selection);
    command
        .add_flag("--skip-missing-metadata", options.skipItemsLackingMetadata,
                  "Leave out items whose files lack what a rule reads, such as photos without a capture "
                  "date, instead of refusing to rename")
        ->group(selection);

    command.add_flag("--only-changed", options.onlyChanged, "Hide unchanged and excluded items")
        ->group("Output");
}

// The options every command takes, whether it uses them or not, so that a
// script can give each command the same places.
CLI::Option* addCommonOptions(CLI::App& command, CliOptions& options, const std::string& json) {
    command.add_flag("--json", options.json, json)->group("Output");
    command.add_option("--presets-dir", options.presetsDirectory, "Use this folder of presets")
        ->group("Places");
    return command.add_option("--history-dir", options.historyDirectory, "Use this history folder")
        ->group("Places");
}

// Rebuilds the interleaved order of the rule options from the order CLI11
// parsed them in.
std::vector<RuleArgument> orderedRules(const CLI::App& command, const PlanningOptions& planning) {
    const std::map<const CLI::Option*, RuleArgument::Type> types{
        {planning.preset, RuleArgument::Type::preset},
        {planning.rule, RuleArgument::Type::rule},
        {planning.replace, RuleArgument::Type::replace},
        {planning.regex, RuleArgument::Type::regex},
        {planning.letterCase, RuleArgument::Type::letterCase}};
    std::map<const CLI::Option*, std::size_t> taken;
    std::vector<RuleArgument> rules;
    for (const CLI::Option* option : command.parse_order()) {
        if (option == planning.caseSensitive) {
            if (rules.empty() || rules.back().type != RuleArgument::Type::replace) {
                throw UsageError{"--case-sensitive must follow a --replace"};
            }
            rules.back().caseSensitive = true;
            continue;
        }
        const auto type = types.find(option);
        if (type == types.end()) {
            continue;
        }
        const auto& results = option->results();
        const std::size_t index = taken[option]++;
        if (index < results.size()) {
            rules.push_back({type->second, results[index], false});
        }
    }
    return rules;
}

// Edits (insertions, deletions, substitutions, swaps of neighbours) that
// turn `a` into `b`.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min(
                {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

} // namespace

std::optional<std::string> mistypedCommand(const std::string& word, const std::string& workingDirectory) {
    if (word.size() < 3 || word.find_first_of("/.-") != std::string::npos) {
        return std::nullopt;
    }
    std::filesystem::path path(word);
    if (!workingDirectory.empty()) {
        path = std::filesystem::path(workingDirectory) / path;
    }
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ignored))) {
        return std::nullopt;
    }
    std::optional<std::string> best;
    std::size_t bestDistance = 3;
    for (const auto& [name, command] : kCommands) {
        const std::size_t distance = name.starts_with(word) ? 1 : editDistance(word, name);
        if (distance < bestDistance) {
            best = name;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<std::pair<std::string, std::string>> splitAtEquals(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '=') {
            return std::make_pair(text.substr(0, i), text.substr(i + 1));
        }
    }
    return std::nullopt;
}

std::optional<CliOptions> parseCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                           const std::string& workingDirectory) {
    std::vector<std::string> args = arguments;
    const bool asksGlobally =
        !args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "--version");
    if (!args.empty() && !asksGlobally && !kCommands.contains(args[0])) {
        if (const auto meant = mistypedCommand(args[0], workingDirectory)) {
            throw UsageError{"unknown command '" + args[0] + "' (did you mean " + *meant + "?)"};
        }
        args.insert(args.begin(), "preview");
    }

    CliOptions options;
    CLI::App app("Renames many files at once, showing every new name first.", "morvane-cli");
    app.set_version_flag("--version", std::string("morvane-cli ") + MORVANE_VERSION);
    app.require_subcommand(1, 1);
    app.footer("Without a command, morvane-cli previews: morvane-cli --case lower,lower ~/Pictures/Trip");

    PlanningOptions previewOptions, renameOptions;
    CLI::App* preview = app.add_subcommand("preview", "Show the plan; change nothing (the default)");
    addPlanningOptions(*preview, options, previewOptions);
    addCommonOptions(*preview, options, "Print JSON instead of a table");
    CLI::App* rename = app.add_subcommand("rename", "Perform the plan and record it in the history");
    addPlanningOptions(*rename, options, renameOptions);
    rename->add_flag("--skip-conflicting", options.skipConflicting,
                     "Leave conflicting items out instead of refusing");
    CLI::Option* historyFolder = addCommonOptions(*rename, options, "Print JSON instead of a table");
    rename
        ->add_flag(
            "--no-history", options.noHistory,
            "Do not record the batch (it can then not be undone); for when the history cannot be written")
        ->excludes(historyFolder)
        ->group("Places");

    CLI::App* undo =
        app.add_subcommand("undo", "Take back the newest batch of the history that can be undone");
    undo->add_option("--id", options.undoId,
                     "Take back this batch instead (its id, or the start of it, "
                     "as morvane-cli history shows)")
        ->type_name("ID");
    undo->add_flag("--dry-run", options.dryRun, "Only say what would be put back");
    addCommonOptions(*undo, options, "Print the transaction as JSON");
    CLI::App* history = app.add_subcommand(
        "history", "List recorded batches, newest first, after any that a crash left unfinished");
    addCommonOptions(*history, options, "Print JSON");
    CLI::App* recover = app.add_subcommand(
        "recover", "Put back the files of batches that a crash, a kill or a power cut left unfinished");
    recover->add_option("--id", options.recoverId, "Only this batch (its id, or the start of it)")
        ->type_name("ID");
    addCommonOptions(*recover, options, "Print JSON");
    CLI::App* presets = app.add_subcommand("presets", "List the presets offered");
    addCommonOptions(*presets, options, "Print JSON");

    try {
        std::reverse(args.begin(), args.end()); // CLI11 takes them last first
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        const CLI::App* asked = app.get_subcommands().empty() ? &app : app.get_subcommands().front();
        out << asked->help();
        return std::nullopt;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << "\n";
        return std::nullopt;
    } catch (const CLI::ParseError& error) {
        throw UsageError{error.what()};
    }

    const CLI::App* chosen = app.get_subcommands().front();
    options.command = kCommands.at(chosen->get_name());
    const PlanningOptions* planning =
        chosen == preview ? &previewOptions : (chosen == rename ? &renameOptions : nullptr);
    if (planning != nullptr) {
        options.rules = orderedRules(*chosen, *planning);
        options.scan.includeFiles = !planning->noFiles;
        options.scan.packagesAsFiles = !planning->packagesAsFolders;
        options.order.field = *itemOrderFieldFromRawValue(planning->sort);
        options.order.ascending = chosen->count("--descending") == 0;
    }
    return options;
}

} // namespace morvane::cli

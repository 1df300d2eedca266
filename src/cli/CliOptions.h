#pragma once

#include "engine/core/ItemOrder.h"
#include "engine/filesystem/ScanOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

enum class Command { preview, rename, undo, history, recover, presets };

// Exit statuses, relied on by scripts.
inline constexpr int ExitStatusSuccess = 0;
inline constexpr int ExitStatusConflicts = 1; // also: an undo or a recovery that was only partial
inline constexpr int ExitStatusUsage = 2;
inline constexpr int ExitStatusRolledBack = 3;
inline constexpr int ExitStatusLeftBehind = 4;
inline constexpr int ExitStatusNotRecorded = 5; // renamed, but the history could not record the batch

// One rule-giving argument, in command-line order.
struct RuleArgument {
    enum class Type { preset, rule, replace, regex, letterCase };
    Type type;
    std::string value;
    bool caseSensitive = false; // --replace followed by --case-sensitive
};

// Everything the command line said, before anything is read from disk.
struct CliOptions {
    Command command = Command::preview;
    std::vector<std::string> paths;
    std::vector<RuleArgument> rules;
    ScanOptions scan;
    std::optional<std::string> filter;
    std::vector<std::string> excluded;
    ItemOrder order;
    bool json = false;
    bool onlyChanged = false;
    bool skipConflicting = false;
    bool skipItemsLackingMetadata = false; // items whose files lack what a rule reads
    bool dryRun = false;
    bool noHistory = false;               // rename without recording the batch
    std::optional<std::string> undoId;    // undo this batch (an id, or a prefix only it has)
    std::optional<std::string> recoverId; // recover only the batches whose id begins so
    std::optional<std::string> historyDirectory;
    std::optional<std::string> presetsDirectory;
};

// What the process knows about where it runs.
struct CliEnvironment {
    std::string workingDirectory;
    bool outputIsTerminal = false;
    bool errorsAreTerminal = false;
    bool noColor = false;
    // Ctrl+C during a batch stops it and puts everything back, rather than
    // ending the process (off for in-process runs, such as the tests).
    bool catchesInterrupts = false;
    // The languages the user prefers, most preferred first (from LANGUAGE,
    // LC_ALL, LC_MESSAGES or LANG).
    std::vector<std::string> languages;
};

// Bad usage or unreadable input: the process exits with status 2 and this
// one-line message.
struct UsageError {
    std::string message;
};

} // namespace morvane::cli

#pragma once

#include "cli/CliOptions.h"
#include "cli/TerminalText.h"
#include "engine/support/Uuid.h"

#include <iosfwd>
#include <string>

namespace morvane::cli {

struct CommandContext {
    const CliOptions& options;
    const CliEnvironment& environment;
    std::ostream& out;
    std::ostream& err;
    Palette palette;
};

// Each returns the process's exit status; UsageError escapes for status 2.
int previewOrRename(const CommandContext& context);
int undoLatest(const CommandContext& context);
int listHistory(const CommandContext& context);
int recoverBatches(const CommandContext& context);
int listPresets(const CommandContext& context);

// The start of a batch's id: enough to tell batches apart, and what `--id` takes.
std::string shortId(const Uuid& id);

// The folders given on the command line, or the per-user ones.
std::string historyDirectory(const CliOptions& options);
std::string presetsDirectory(const CliOptions& options);

} // namespace morvane::cli

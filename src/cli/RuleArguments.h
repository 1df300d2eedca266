#pragma once

#include "cli/CliOptions.h"
#include "cli/PresetLookup.h"
#include "engine/core/RenamePipeline.h"

#include <string>
#include <vector>

namespace morvane::cli {

struct BuiltRules {
    RenamePipeline pipeline;
    std::vector<std::string> warnings; // rules left out, with where they were
};

// The pipeline the rule arguments describe, in command-line order. Throws
// UsageError for a rule it cannot build.
BuiltRules buildRules(const std::vector<RuleArgument>& rules, const PresetLookup& presets);

} // namespace morvane::cli

#pragma once

#include "engine/core/PipelineStep.h"
#include "engine/presets/AnyRule.h"
#include "engine/support/Uuid.h"

namespace morvane::app {

// One rule of a window's rule list, with the identity every list operation
// and the rule panel use, its switch and whether its card shows the editor.
struct RuleEntry {
    Uuid id;
    AnyRule rule;
    bool isEnabled = true;
    bool isExpanded = true; // presentation only, never saved

    // A new entry with a new id.
    static RuleEntry make(AnyRule rule, bool isEnabled = true, bool isExpanded = true);
    // The default rule of `kind`.
    static AnyRule defaultRule(RuleKind kind);

    // The entry as a step of the engine's pipeline (disabled entries included,
    // so a step's index is the entry's position).
    PipelineStep step() const { return {shareRule(rule), isEnabled}; }

    bool operator==(const RuleEntry&) const = default;
};

} // namespace morvane::app

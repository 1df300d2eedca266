#pragma once

#include "engine/core/RenameRule.h"
#include "engine/presets/RuleParameters.h"

#include <memory>

namespace morvane {

// Knows every rule kind: its default rule, the stored parameters of any rule,
// and how to build a rule back from a kind and parameters that may come from
// an older or newer version of the program.
class RuleCatalog {
public:
    static std::shared_ptr<const RenameRule> makeDefault(RuleKind kind);
    // The rule's own stored form; throws RuleError for a rule no kind stores.
    static RuleParameters parameters(const RenameRule& rule);
    // The default rule of `kind` with `parameters` laid over its own key by key
    // (a missing key keeps its default, an unknown key is ignored), then
    // decoded; a value of the wrong type throws DecodingError.
    static std::shared_ptr<const RenameRule> rule(RuleKind kind, const RuleParameters& parameters);
};

} // namespace morvane

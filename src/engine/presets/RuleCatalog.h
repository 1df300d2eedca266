#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json.hpp>

#include <memory>

namespace morvane {

// Knows every rule kind: its default rule, the stored parameters of any rule,
// and how to build a rule back from a kind and parameters that may come from
// an older or newer version of the program.
class RuleCatalog {
public:
    using Parameters = nlohmann::json::object_t;

    static std::shared_ptr<const RenameRule> makeDefault(RuleKind kind);
    // The rule's own stored form; throws RuleError for a rule no kind stores.
    static Parameters parameters(const RenameRule& rule);
    // The default rule of `kind` with `parameters` laid over its own key by key
    // (a missing key keeps its default, an unknown key is ignored), then
    // decoded; a value of the wrong type throws DecodingError.
    static std::shared_ptr<const RenameRule> rule(RuleKind kind, const Parameters& parameters);
};

} // namespace morvane

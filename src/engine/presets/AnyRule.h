#pragma once

#include "engine/core/RenameRule.h"
#include "engine/rules/CaseRule.h"
#include "engine/rules/ReplaceRule.h"

#include <memory>
#include <optional>
#include <type_traits>
#include <variant>

namespace morvane {

// The closed sum of the rule types, in the order of RuleKind. The catalog, the
// application and the command line all classify rules through it, so a new
// rule kind is added in one place.
using AnyRule = std::variant<ReplaceRule, CaseRule>;

// Calls `f(std::type_identity<Rule>{})` with the rule type of `kind`; throws
// std::invalid_argument for a kind no rule type implements.
template <typename F>
decltype(auto) withRuleType(RuleKind kind, F&& f) {
    switch (kind) {
    case RuleKind::replace:
        return f(std::type_identity<ReplaceRule>{});
    case RuleKind::letterCase:
        return f(std::type_identity<CaseRule>{});
    default:
        break;
    }
    throw std::invalid_argument("no rule type for kind " + std::string(rawValue(kind)));
}

RuleKind kindOf(const AnyRule& rule);
std::shared_ptr<const RenameRule> shareRule(const AnyRule& rule);
// The rule's value when it is one of the known rule types.
std::optional<AnyRule> anyRule(const RenameRule& rule);

} // namespace morvane

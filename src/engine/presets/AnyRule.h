#pragma once

#include "engine/core/RenameRule.h"
#include "engine/rules/AffixRule.h"
#include "engine/rules/CaseRule.h"
#include "engine/rules/CounterRule.h"
#include "engine/rules/DateRule.h"
#include "engine/rules/FolderRule.h"
#include "engine/rules/NameRule.h"
#include "engine/rules/RegexRule.h"
#include "engine/rules/RemoveRule.h"
#include "engine/rules/ReplaceRule.h"
#include "engine/rules/SegmentRule.h"
#include "engine/rules/TemplateRule.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>

namespace morvane {

// The closed sum of the rule types, in the order of RuleKind. The catalog, the
// application and the command line all classify rules through it, so a new
// rule kind is added in one place.
using AnyRule = std::variant<NameRule, SegmentRule, ReplaceRule, RegexRule, RemoveRule, AffixRule,
                             CounterRule, DateRule, FolderRule, TemplateRule, CaseRule>;

// Calls `f(std::type_identity<Rule>{})` with the rule type of `kind`. Every
// kind has one; only a value outside the enumeration (a cast integer) throws
// std::invalid_argument.
template <typename F>
decltype(auto) withRuleType(RuleKind kind, F&& f) {
    switch (kind) {
    case RuleKind::name:
        return f(std::type_identity<NameRule>{});
    case RuleKind::segment:
        return f(std::type_identity<SegmentRule>{});
    case RuleKind::replace:
        return f(std::type_identity<ReplaceRule>{});
    case RuleKind::regex:
        return f(std::type_identity<RegexRule>{});
    case RuleKind::remove:
        return f(std::type_identity<RemoveRule>{});
    case RuleKind::add:
        return f(std::type_identity<AffixRule>{});
    case RuleKind::counter:
        return f(std::type_identity<CounterRule>{});
    case RuleKind::date:
        return f(std::type_identity<DateRule>{});
    case RuleKind::folder:
        return f(std::type_identity<FolderRule>{});
    case RuleKind::template_:
        return f(std::type_identity<TemplateRule>{});
    case RuleKind::letterCase:
        return f(std::type_identity<CaseRule>{});
    }
    throw std::invalid_argument("no rule type for kind " + std::to_string(static_cast<int>(kind)));
}

RuleKind kindOf(const AnyRule& rule);
std::shared_ptr<const RenameRule> shareRule(const AnyRule& rule);
// The rule's value when it is one of the known rule types.
std::optional<AnyRule> anyRule(const RenameRule& rule);

} // namespace morvane

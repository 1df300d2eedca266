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
#include <utility>
#include <variant>

namespace morvane {

// The closed sum of the rule types, in the order of RuleKind. The catalog, the
// application and the command line all classify rules through it.
using AnyRule = std::variant<NameRule, SegmentRule, ReplaceRule, RegexRule, RemoveRule, AffixRule,
                             CounterRule, DateRule, FolderRule, TemplateRule, CaseRule>;

namespace detail {

template <std::size_t... Index>
constexpr bool alternativesFollowTheKinds(std::index_sequence<Index...>) {
    return ((std::variant_alternative_t<Index, AnyRule>::ruleKind == allRuleKinds[Index]) && ...);
}

} // namespace detail

// One rule type per kind, in the kinds' order: the variant's index of a rule
// is its kind.
static_assert(std::variant_size_v<AnyRule> == allRuleKinds.size(), "one rule type per rule kind");
static_assert(detail::alternativesFollowTheKinds(std::make_index_sequence<allRuleKinds.size()>{}),
              "the rule types in the order of their kinds");

// Calls `f(std::type_identity<Rule>{})` with the rule type of `kind`. Every
// kind has one; only a value outside the enumeration (a cast integer) throws
// std::invalid_argument.
template <typename F>
decltype(auto) withRuleType(RuleKind kind, F&& f) {
    return [&]<std::size_t... Index>(std::index_sequence<Index...>)->decltype(auto) {
        using Result = decltype(f(std::type_identity<std::variant_alternative_t<0, AnyRule>>{}));
        using Call = Result (*)(F&);
        static constexpr Call calls[] = {[](F& g) -> Result {
            return g(std::type_identity<std::variant_alternative_t<Index, AnyRule>>{});
        }...};
        const auto index = static_cast<std::size_t>(kind);
        if (index >= sizeof...(Index)) {
            throw std::invalid_argument("no rule type for kind " + std::to_string(index));
        }
        return calls[index](f);
    }
    (std::make_index_sequence<std::variant_size_v<AnyRule>>{});
}

RuleKind kindOf(const AnyRule& rule);
std::shared_ptr<const RenameRule> shareRule(const AnyRule& rule);
// The rule's value when it is one of the known rule types.
std::optional<AnyRule> anyRule(const RenameRule& rule);

} // namespace morvane

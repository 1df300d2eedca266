#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The closed list of rule families. The raw value is what stored rules carry.
enum class RuleKind {
    name,
    segment,
    replace,
    regex,
    remove,
    add,
    counter,
    date,
    folder,
    template_,
    letterCase
};

// In declaration order, which is also the order menus list them in.
inline constexpr std::array<RuleKind, 11> allRuleKinds{
    RuleKind::name,   RuleKind::segment,   RuleKind::replace,   RuleKind::regex,
    RuleKind::remove, RuleKind::add,       RuleKind::counter,   RuleKind::date,
    RuleKind::folder, RuleKind::template_, RuleKind::letterCase};

// "case" for letterCase, "template" for template_, the case name otherwise.
std::string_view rawValue(RuleKind kind);
std::optional<RuleKind> ruleKindFromRawValue(std::string_view raw);

// The family's display name, in the engine's current language.
std::string title(RuleKind kind);

} // namespace morvane

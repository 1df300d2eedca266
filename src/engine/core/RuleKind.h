#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Every rule family, once, in the order menus list them: its case, the raw
// value stored rules carry, and its English title. The enumeration, the list
// of all kinds and their names are made from this one table, and the rule
// types' sum (AnyRule) is checked against it, so a kind cannot be half added.
#define MORVANE_RULE_KINDS(KIND)                                                                             \
    KIND(name, "name", "Name")                                                                               \
    KIND(segment, "segment", "Name Segment")                                                                 \
    KIND(replace, "replace", "Replace")                                                                      \
    KIND(regex, "regex", "Regular Expression")                                                               \
    KIND(remove, "remove", "Remove")                                                                         \
    KIND(add, "add", "Add")                                                                                  \
    KIND(counter, "counter", "Counter")                                                                      \
    KIND(date, "date", "Date")                                                                               \
    KIND(folder, "folder", "Folder Name")                                                                    \
    KIND(template_, "template", "Template")                                                                  \
    KIND(letterCase, "case", "Case")

enum class RuleKind {
#define MORVANE_RULE_KIND_CASE(kind, raw, title) kind,
    MORVANE_RULE_KINDS(MORVANE_RULE_KIND_CASE)
#undef MORVANE_RULE_KIND_CASE
};

// In declaration order, which is also the order menus list them in.
inline constexpr std::array allRuleKinds{
#define MORVANE_RULE_KIND_ITEM(kind, raw, title) RuleKind::kind,
    MORVANE_RULE_KINDS(MORVANE_RULE_KIND_ITEM)
#undef MORVANE_RULE_KIND_ITEM
};

// "case" for letterCase, "template" for template_, the case name otherwise.
std::string_view rawValue(RuleKind kind);
std::optional<RuleKind> ruleKindFromRawValue(std::string_view raw);

// The family's display name, in the engine's current language.
std::string title(RuleKind kind);

} // namespace morvane

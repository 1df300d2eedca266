#include "engine/core/RuleKind.h"

#include "engine/support/Localization.h"

namespace morvane {
namespace {

struct KindNames {
    std::string_view raw;
    std::string_view title;
};

// By kind, in declaration order.
constexpr std::array<KindNames, allRuleKinds.size()> kNames{{
#define MORVANE_RULE_KIND_NAMES(kind, raw, title) {raw, title},
    MORVANE_RULE_KINDS(MORVANE_RULE_KIND_NAMES)
#undef MORVANE_RULE_KIND_NAMES
}};

} // namespace

std::string_view rawValue(RuleKind kind) {
    return kNames[static_cast<std::size_t>(kind)].raw;
}

std::optional<RuleKind> ruleKindFromRawValue(std::string_view raw) {
    for (const RuleKind kind : allRuleKinds) {
        if (rawValue(kind) == raw) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string title(RuleKind kind) {
    return localized(kNames[static_cast<std::size_t>(kind)].title);
}

} // namespace morvane

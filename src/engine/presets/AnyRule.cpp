#include "engine/presets/AnyRule.h"

namespace morvane {

RuleKind kindOf(const AnyRule& rule) {
    return allRuleKinds[rule.index()];
}

std::shared_ptr<const RenameRule> shareRule(const AnyRule& rule) {
    return std::visit(
        [](const auto& value) -> std::shared_ptr<const RenameRule> {
            return std::make_shared<const std::decay_t<decltype(value)>>(value);
        },
        rule);
}

std::optional<AnyRule> anyRule(const RenameRule& rule) {
    try {
        return withRuleType(rule.kind(), [&](auto type) -> std::optional<AnyRule> {
            using Rule = typename decltype(type)::type;
            if (const auto* typed = dynamic_cast<const Rule*>(&rule)) {
                return AnyRule(*typed);
            }
            return std::nullopt;
        });
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

} // namespace morvane

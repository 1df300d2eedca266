#include "engine/presets/RuleCatalog.h"

#include "engine/core/RuleError.h"
#include "engine/presets/AnyRule.h"

namespace morvane {

std::shared_ptr<const RenameRule> RuleCatalog::makeDefault(RuleKind kind) {
    return withRuleType(kind, [](auto type) -> std::shared_ptr<const RenameRule> {
        using Rule = typename decltype(type)::type;
        return std::make_shared<const Rule>();
    });
}

RuleCatalog::Parameters RuleCatalog::parameters(const RenameRule& rule) {
    const auto value = anyRule(rule);
    if (!value) {
        throw RuleError("Rule did not encode to an object");
    }
    nlohmann::json encoded;
    std::visit([&](const auto& typed) { encoded = typed; }, *value);
    if (!encoded.is_object()) {
        throw RuleError("Rule did not encode to an object");
    }
    return encoded.get<Parameters>();
}

std::shared_ptr<const RenameRule> RuleCatalog::rule(RuleKind kind, const Parameters& given) {
    Parameters merged = parameters(*makeDefault(kind));
    for (const auto& [key, value] : given) {
        if (!value.is_null()) { // null, like a missing key, keeps the default
            merged[key] = value;
        }
    }
    const nlohmann::json json(std::move(merged));
    return withRuleType(kind, [&](auto type) -> std::shared_ptr<const RenameRule> {
        using Rule = typename decltype(type)::type;
        return std::make_shared<const Rule>(json.get<Rule>());
    });
}

} // namespace morvane

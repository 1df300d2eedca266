#include "engine/presets/RuleCatalog.h"

#include "engine/core/RuleError.h"
#include "engine/presets/AnyRule.h"

#include <nlohmann/json.hpp>

namespace morvane {

std::shared_ptr<const RenameRule> RuleCatalog::makeDefault(RuleKind kind) {
    return withRuleType(kind, [](auto type) -> std::shared_ptr<const RenameRule> {
        using Rule = typename decltype(type)::type;
        return std::make_shared<const Rule>();
    });
}

RuleParameters RuleCatalog::parameters(const RenameRule& rule) {
    const auto value = anyRule(rule);
    if (!value) {
        throw RuleError("Rule did not encode to an object");
    }
    nlohmann::json encoded;
    std::visit([&](const auto& typed) { encoded = typed; }, *value);
    if (!encoded.is_object()) {
        throw RuleError("Rule did not encode to an object");
    }
    return RuleParameters(std::move(encoded));
}

std::shared_ptr<const RenameRule> RuleCatalog::rule(RuleKind kind, const RuleParameters& given) {
    nlohmann::json json = parameters(*makeDefault(kind)).json();
    for (const auto& [key, value] : given.json().items()) {
        if (!value.is_null()) { // null, like a missing key, keeps the default
            json[key] = value;
        }
    }
    return withRuleType(kind, [&](auto type) -> std::shared_ptr<const RenameRule> {
        using Rule = typename decltype(type)::type;
        return std::make_shared<const Rule>(json.get<Rule>());
    });
}

} // namespace morvane

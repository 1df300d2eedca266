#include "engine/presets/PresetRule.h"

#include "engine/presets/RuleCatalog.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"

#include <nlohmann/json.hpp>

namespace morvane {

PresetRule PresetRule::fromStep(const PipelineStep& step) {
    return PresetRule{std::string(rawValue(step.rule->kind())), step.isEnabled,
                      RuleCatalog::parameters(*step.rule)};
}

std::optional<PipelineStep> PresetRule::makeStep() const {
    const auto known = ruleKindFromRawValue(kind);
    if (!known) {
        return std::nullopt;
    }
    return PipelineStep{RuleCatalog::rule(*known, parameters), isEnabled};
}

void to_json(nlohmann::json& json, const PresetRule& rule) {
    json = rule.parameters.json();
    json["kind"] = rule.kind;
    json["enabled"] = rule.isEnabled;
}

void from_json(const nlohmann::json& json, PresetRule& rule) {
    if (!json.is_object()) {
        throw DecodingError(localized("Rule without kind"));
    }
    nlohmann::json object = json;
    const auto kind = object.find("kind");
    if (kind == object.end() || !kind->is_string()) {
        throw DecodingError(localized("Rule without kind"));
    }
    rule.kind = kind->get<std::string>();
    object.erase(kind);
    const auto enabled = object.find("enabled");
    rule.isEnabled = true;
    if (enabled != object.end()) {
        rule.isEnabled = !enabled->is_boolean() || enabled->get<bool>();
        object.erase(enabled);
    }
    rule.parameters = RuleParameters(std::move(object));
}

} // namespace morvane

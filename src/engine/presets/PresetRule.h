#pragma once

#include "engine/core/PipelineStep.h"
#include "engine/presets/RuleParameters.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>

namespace morvane {

// One step of a preset as stored: the kind as text (so a kind this version
// does not know survives a load and save unchanged), the switch, and the
// rule's own parameters at the top level of the same object.
struct PresetRule {
    std::string kind;
    bool isEnabled = true;
    RuleParameters parameters;

    static PresetRule fromStep(const PipelineStep& step);
    // Nothing for an unknown kind; throws when the parameters do not decode.
    std::optional<PipelineStep> makeStep() const;

    bool operator==(const PresetRule&) const = default;
};

// "kind" must be text ("Rule without kind" otherwise); "enabled" counts only
// when it is a boolean; every other key is a parameter.
void to_json(nlohmann::json& json, const PresetRule& rule);
void from_json(const nlohmann::json& json, PresetRule& rule);

} // namespace morvane

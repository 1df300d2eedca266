#include "engine/presets/RuleParameters.h"

#include "engine/support/JsonFields.h"

#include <nlohmann/json.hpp>

namespace morvane {
namespace {

const nlohmann::json& noSettings() {
    static const nlohmann::json empty = nlohmann::json::object();
    return empty;
}

} // namespace

RuleParameters::RuleParameters() = default;

RuleParameters::RuleParameters(nlohmann::json object) {
    json_fields::requireObject(object);
    object_ = std::make_unique<nlohmann::json>(std::move(object));
}

RuleParameters::RuleParameters(const RuleParameters& other)
    : object_(other.object_ ? std::make_unique<nlohmann::json>(*other.object_) : nullptr) {}

RuleParameters::RuleParameters(RuleParameters&& other) noexcept = default;

RuleParameters& RuleParameters::operator=(const RuleParameters& other) {
    if (this != &other) {
        object_ = other.object_ ? std::make_unique<nlohmann::json>(*other.object_) : nullptr;
    }
    return *this;
}

RuleParameters& RuleParameters::operator=(RuleParameters&& other) noexcept = default;

RuleParameters::~RuleParameters() = default;

const nlohmann::json& RuleParameters::json() const {
    return object_ ? *object_ : noSettings();
}

bool RuleParameters::operator==(const RuleParameters& other) const {
    return json() == other.json();
}

} // namespace morvane

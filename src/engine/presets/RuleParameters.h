#pragma once

#include <nlohmann/json_fwd.hpp>

#include <memory>

namespace morvane {

// A rule's own stored settings: one JSON object, of any keys, kept as read so
// that settings of a later version survive a load and a save. Held behind a
// pointer, so that the headers every preset user includes stay free of the
// JSON library; only code that looks inside includes it.
class RuleParameters {
public:
    RuleParameters(); // no settings (also what a moved-from value holds)
    // Throws DecodingError when `object` is not a JSON object.
    RuleParameters(nlohmann::json object);
    RuleParameters(const RuleParameters& other);
    RuleParameters(RuleParameters&& other) noexcept;
    RuleParameters& operator=(const RuleParameters& other);
    RuleParameters& operator=(RuleParameters&& other) noexcept;
    ~RuleParameters();

    // Always an object.
    const nlohmann::json& json() const;

    bool operator==(const RuleParameters& other) const;

private:
    std::unique_ptr<nlohmann::json> object_;
};

} // namespace morvane

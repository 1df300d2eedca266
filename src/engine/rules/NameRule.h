#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Acts on the stem as a whole: keeps it, clears it (so later rules can build a
// new name from nothing), replaces it with a fixed text, or reverses it. The
// extension is never touched.
class NameRule final : public RenameRule {
public:
    enum class Mode { keep, remove, fixed, reverse };

    Mode mode = Mode::keep;
    std::string text = "santa-cruz"; // the new stem for `fixed`, kept but unused otherwise

    NameRule() = default;
    NameRule(Mode mode_, std::string text_) : mode(mode_), text(std::move(text_)) {}

    static constexpr RuleKind ruleKind = RuleKind::name;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    bool operator==(const NameRule&) const = default;
};

std::string_view rawValue(NameRule::Mode mode);
std::optional<NameRule::Mode> nameModeFromRawValue(std::string_view raw);

// The stored form: {"mode" (raw value), "text"}; both required.
void to_json(nlohmann::json& json, const NameRule& rule);
void from_json(const nlohmann::json& json, NameRule& rule);

} // namespace morvane

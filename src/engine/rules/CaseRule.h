#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Changes the letter case of the stem and, independently, of the extension.
class CaseRule final : public RenameRule {
public:
    enum class Mode { same, lower, upper, title, sentence };
    enum class ExtensionMode { same, lower, upper };

    Mode mode = Mode::lower;
    ExtensionMode extensionMode = ExtensionMode::lower;

    CaseRule() = default;
    CaseRule(Mode mode_, ExtensionMode extensionMode_) : mode(mode_), extensionMode(extensionMode_) {}

    static constexpr RuleKind ruleKind = RuleKind::letterCase;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    // Lower-cases `text`, then capitalizes every letter that starts it or
    // follows white space, "_", "-" or ".".
    static std::string titleCased(std::string_view text);
    // The first character upper-cased, the rest lower-cased.
    static std::string sentenceCased(std::string_view text);

    bool operator==(const CaseRule&) const = default;
};

// The stored form: {"mode", "extensionMode"} as raw values; both required.
void to_json(nlohmann::json& json, const CaseRule& rule);
void from_json(const nlohmann::json& json, CaseRule& rule);

std::string_view rawValue(CaseRule::Mode mode);
std::string_view rawValue(CaseRule::ExtensionMode mode);
std::optional<CaseRule::Mode> caseModeFromRawValue(std::string_view raw);
std::optional<CaseRule::ExtensionMode> caseExtensionModeFromRawValue(std::string_view raw);

} // namespace morvane

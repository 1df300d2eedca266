#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Replaces the stem with a template whose brace tokens stand for facts about
// the item: {name}, {ext}, {parent}, {counter} or {counter:000}, {date},
// {modified} and {created}, the date tokens with an optional pattern after a
// colon ({date:yyyyMMdd}), and what the file holds (see MetadataTokens).
// Anything else in braces is copied as written. The extension is never
// touched.
class TemplateRule final : public RenameRule {
public:
    std::string template_ = "{date:yyyyMMdd}_{parent}_{counter:000}";
    // IANA zone for the date tokens; absent (or unknown): the system's zone.
    std::optional<std::string> timeZoneIdentifier;
    // {counter} starts again at 1 in each folder, as the counter rule can.
    bool perFolder = false;

    TemplateRule() = default;
    TemplateRule(std::string templateText, std::optional<std::string> timeZoneIdentifier_,
                 bool perFolder_ = false)
        : template_(std::move(templateText)), timeZoneIdentifier(std::move(timeZoneIdentifier_)),
          perFolder(perFolder_) {}

    static constexpr RuleKind ruleKind = RuleKind::template_;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    // What the tokens read: file dates, photo metadata, tags.
    ItemDetails needsDetails() const override;

    bool operator==(const TemplateRule&) const = default;

private:
    // What `token` (the text between the braces) stands for, or nothing when
    // it is not a token.
    std::optional<std::string> expansion(std::string_view token, const FileName& name,
                                         const RuleContext& context) const;
};

// The stored form: {"template"}, required, "timeZoneIdentifier" only when
// there is one, and "perFolder" only when on.
void to_json(nlohmann::json& json, const TemplateRule& rule);
void from_json(const nlohmann::json& json, TemplateRule& rule);

} // namespace morvane

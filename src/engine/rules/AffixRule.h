#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>

namespace morvane {

// The Add rule: a prefix before the stem, a text inserted at a character
// position inside it, and a suffix after it. The extension is never touched.
class AffixRule final : public RenameRule {
public:
    std::string prefix;
    std::string insert;
    // How many characters of the incoming stem stay before `insert`; clamped
    // to the stem, so a negative value means the start and a large one the end.
    std::int64_t insertAt = 0;
    std::string suffix;

    AffixRule() = default;
    AffixRule(std::string prefix_, std::string insert_, std::int64_t insertAt_, std::string suffix_)
        : prefix(std::move(prefix_)), insert(std::move(insert_)), insertAt(insertAt_),
          suffix(std::move(suffix_)) {}

    static constexpr RuleKind ruleKind = RuleKind::add;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    bool operator==(const AffixRule&) const = default;
};

// The stored form: {"prefix", "insert", "insertAt", "suffix"}; all required.
void to_json(nlohmann::json& json, const AffixRule& rule);
void from_json(const nlohmann::json& json, AffixRule& rule);

} // namespace morvane

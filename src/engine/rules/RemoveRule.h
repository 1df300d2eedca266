#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>

namespace morvane {

// Deletes characters from the stem: a number at the start and at the end,
// every occurrence of a set of characters, and surplus white space. The
// extension is never touched.
class RemoveRule final : public RenameRule {
public:
    std::int64_t first = 0; // characters deleted at the start; 0 or less: none
    std::int64_t last = 0;  // characters deleted at the end; 0 or less: none
    std::string characters; // each character listed is deleted wherever it occurs
    bool trimSpaces = true; // runs of white space become one space, none at the ends

    RemoveRule() = default;
    RemoveRule(std::int64_t first_, std::int64_t last_, std::string characters_, bool trimSpaces_)
        : first(first_), last(last_), characters(std::move(characters_)), trimSpaces(trimSpaces_) {}

    static constexpr RuleKind ruleKind = RuleKind::remove;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    bool operator==(const RemoveRule&) const = default;
};

// The stored form: {"first", "last", "characters", "trimSpaces"}; all required.
void to_json(nlohmann::json& json, const RemoveRule& rule);
void from_json(const nlohmann::json& json, RemoveRule& rule);

} // namespace morvane

#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Adds the name of the folder holding the item before or after the stem. An
// item without a parent name keeps its name. The extension is never touched.
class FolderRule final : public RenameRule {
public:
    enum class Position { before, after };

    Position position = Position::before;
    std::string separator = "-";

    FolderRule() = default;
    FolderRule(Position position_, std::string separator_)
        : position(position_), separator(std::move(separator_)) {}

    static constexpr RuleKind ruleKind = RuleKind::folder;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    bool operator==(const FolderRule&) const = default;
};

std::string_view rawValue(FolderRule::Position position);
std::optional<FolderRule::Position> folderPositionFromRawValue(std::string_view raw);

// The stored form: {"position" (raw value), "separator"}; both required.
void to_json(nlohmann::json& json, const FolderRule& rule);
void from_json(const nlohmann::json& json, FolderRule& rule);

} // namespace morvane

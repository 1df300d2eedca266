#include "engine/rules/FolderRule.h"

#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/RawValues.h"

#include <array>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 2> kPositions{"before", "after"};

} // namespace

std::string FolderRule::summary() const {
    return position == Position::before ? localized("Parent folder before name")
                                        : localized("Parent folder after name");
}

void FolderRule::apply(FileName& name, const RuleContext& context) const {
    const std::string& parent = context.item.parentName;
    if (parent.empty()) {
        return;
    }
    if (position == Position::before) {
        name.stem = parent + separator + name.stem;
    } else {
        name.stem += separator;
        name.stem += parent;
    }
}

std::string_view rawValue(FolderRule::Position position) {
    return rawValueIn(kPositions, position);
}

std::optional<FolderRule::Position> folderPositionFromRawValue(std::string_view raw) {
    return enumFromRawValue<FolderRule::Position>(kPositions, raw);
}

void to_json(nlohmann::json& json, const FolderRule& rule) {
    json = {{"position", rawValue(rule.position)}, {"separator", rule.separator}};
}

void from_json(const nlohmann::json& json, FolderRule& rule) {
    using namespace json_fields;
    rule = FolderRule(requireEnum<FolderRule::Position>(json, "position", kPositions),
                      requireString(json, "separator"));
}

} // namespace morvane

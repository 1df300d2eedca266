#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Puts a formatted date of the item (its modification or creation time, or
// the capture date its file records) before or after the stem. The extension
// is never touched.
class DateRule final : public RenameRule {
public:
    enum class Source { modified, created, taken };
    enum class Position { before, after };

    Source source = Source::modified;
    std::string format = "yyyy-MM-dd"; // date-field pattern ("yyyy", "MM", "MMM"…)
    Position position = Position::before;
    std::string separator = "_";
    // IANA zone the date is written in; absent (or unknown): the system's zone.
    std::optional<std::string> timeZoneIdentifier;

    // The patterns the editor offers, in menu order.
    static constexpr std::array<std::string_view, 4> presetFormats{"yyyy-MM-dd", "yyyyMMdd", "dd-MM-yyyy",
                                                                   "yyyy-MM"};

    DateRule() = default;
    DateRule(Source source_, std::string format_, Position position_, std::string separator_,
             std::optional<std::string> timeZoneIdentifier_)
        : source(source_), format(std::move(format_)), position(position_), separator(std::move(separator_)),
          timeZoneIdentifier(std::move(timeZoneIdentifier_)) {}

    static constexpr RuleKind ruleKind = RuleKind::date;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    // Throws MissingMetadataError for an item whose file holds no capture
    // date when that is the source.
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override;

    bool operator==(const DateRule&) const = default;
};

std::string_view rawValue(DateRule::Source source);
std::string_view rawValue(DateRule::Position position);
std::optional<DateRule::Source> dateSourceFromRawValue(std::string_view raw);
std::optional<DateRule::Position> datePositionFromRawValue(std::string_view raw);

// The stored form: {"source", "position" (raw values), "format", "separator"},
// all required, and "timeZoneIdentifier" only when there is one.
void to_json(nlohmann::json& json, const DateRule& rule);
void from_json(const nlohmann::json& json, DateRule& rule);

} // namespace morvane

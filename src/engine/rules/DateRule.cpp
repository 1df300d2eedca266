#include "engine/rules/DateRule.h"

#include "engine/core/MissingMetadataError.h"
#include "engine/metadata/FileMetadata.h"
#include "engine/rules/MetadataTokens.h"
#include "engine/support/DateFormatting.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/RawValues.h"

namespace morvane {
namespace {

constexpr std::array<std::string_view, 3> kSources{"modified", "created", "taken"};
constexpr std::array<std::string_view, 2> kPositions{"before", "after"};

} // namespace

std::string DateRule::summary() const {
    const bool before = position == Position::before;
    if (source == Source::modified) {
        return before ? localized("Modified %@ \u00B7 before name", format)
                      : localized("Modified %@ \u00B7 after name", format);
    }
    if (source == Source::created) {
        return before ? localized("Created %@ \u00B7 before name", format)
                      : localized("Created %@ \u00B7 after name", format);
    }
    return before ? localized("Taken %@ \u00B7 before name", format)
                  : localized("Taken %@ \u00B7 after name", format);
}

ItemDetails DateRule::needsDetails() const {
    return source == Source::taken ? ItemDetails{false, true, false} : ItemDetails{true, false, false};
}

void DateRule::apply(FileName& name, const RuleContext& context) const {
    Date date = context.item.modified;
    if (source == Source::created) {
        date = context.item.created;
    } else if (source == Source::taken) {
        if (context.metadata == nullptr || !context.metadata->taken) {
            throw MissingMetadataError(MetadataTokens::noCaptureDate(context));
        }
        date = context.metadata->taken->instant(timeZoneIdentifier);
    }
    const std::string text = DateFormatting::string(date, format, timeZoneIdentifier);
    if (position == Position::before) {
        name.stem = text + separator + name.stem;
    } else {
        name.stem += separator;
        name.stem += text;
    }
}

std::string_view rawValue(DateRule::Source source) {
    return rawValueIn(kSources, source);
}

std::string_view rawValue(DateRule::Position position) {
    return rawValueIn(kPositions, position);
}

std::optional<DateRule::Source> dateSourceFromRawValue(std::string_view raw) {
    return enumFromRawValue<DateRule::Source>(kSources, raw);
}

std::optional<DateRule::Position> datePositionFromRawValue(std::string_view raw) {
    return enumFromRawValue<DateRule::Position>(kPositions, raw);
}

void to_json(nlohmann::json& json, const DateRule& rule) {
    json = {{"source", rawValue(rule.source)},
            {"format", rule.format},
            {"position", rawValue(rule.position)},
            {"separator", rule.separator}};
    if (rule.timeZoneIdentifier) {
        json["timeZoneIdentifier"] = *rule.timeZoneIdentifier;
    }
}

void from_json(const nlohmann::json& json, DateRule& rule) {
    using namespace json_fields;
    rule = DateRule(requireEnum<DateRule::Source>(json, "source", kSources), requireString(json, "format"),
                    requireEnum<DateRule::Position>(json, "position", kPositions),
                    requireString(json, "separator"), optionalString(json, "timeZoneIdentifier"));
}

} // namespace morvane

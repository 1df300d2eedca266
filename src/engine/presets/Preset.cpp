#include "engine/presets/Preset.h"

#include "engine/presets/PresetError.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"

namespace morvane {
namespace {

// Deeper than any preset needs, shallow enough that no document can exhaust
// the stack of whatever walks it afterwards.
constexpr int kMaxDepth = 32;

nlohmann::json parseBounded(std::string_view data) {
    if (data.size() > Preset::maxFileBytes) {
        throw DecodingError(localized("The file is too large to be a preset"));
    }
    try {
        return nlohmann::json::parse(data, [](int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
            if (depth > kMaxDepth) {
                throw DecodingError(localized("The file is nested too deeply to be a preset"));
            }
            return true;
        });
    } catch (const nlohmann::json::exception& error) {
        throw DecodingError(localized("The file is not valid JSON (%@)", error.what()));
    }
}

template <typename T>
T optionalField(const nlohmann::json& object, std::string_view key, T fallback,
                T (*read)(const nlohmann::json&, std::string_view)) {
    return json_fields::isPresent(object, key) ? read(object, key) : fallback;
}

} // namespace

Preset Preset::fromPipeline(std::string name, const RenamePipeline& pipeline, bool favorite,
                            std::optional<std::string> shortcut) {
    std::vector<PresetRule> rules;
    rules.reserve(pipeline.steps.size());
    for (const auto& step : pipeline.steps) {
        rules.push_back(PresetRule::fromStep(step));
    }
    return Preset(std::move(name), std::move(rules), favorite, std::move(shortcut));
}

std::string Preset::data() const {
    nlohmann::json object{{"format", format}, {"name", name}, {"favorite", favorite}, {"rules", rules}};
    if (shortcut) {
        object["shortcut"] = *shortcut;
    }
    return json_fields::canonicalNumbers(std::move(object)).dump(2) + "\n";
}

Preset Preset::decode(std::string_view data) {
    using namespace json_fields;
    const nlohmann::json json = parseBounded(data);
    if (!json.is_object()) {
        throw DecodingError(localized("A preset file must hold a JSON object"));
    }
    Preset preset;
    preset.name = requireString(json, "name");
    std::vector<PresetRule> rules;
    for (const auto& envelope : requireArray(json, "rules")) {
        rules.push_back(envelope.get<PresetRule>());
    }
    preset.rules = std::move(rules);
    preset.format = optionalField<std::int64_t>(json, "format", 1, requireInteger);
    preset.favorite = optionalField<bool>(json, "favorite", false, requireBool);
    preset.shortcut = optionalString(json, "shortcut");
    if (preset.format > currentFormat) {
        throw PresetError::unsupportedFormat(preset.format);
    }
    return preset;
}

Preset::Built Preset::makePipeline() const {
    Built built;
    for (std::size_t position = 0; position < rules.size(); ++position) {
        if (auto step = rules[position].makeStep()) {
            built.pipeline.steps.push_back(std::move(*step));
        } else {
            built.skipped.push_back(position);
        }
    }
    return built;
}

} // namespace morvane

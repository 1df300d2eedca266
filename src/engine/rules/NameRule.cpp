#include "engine/rules/NameRule.h"

#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/RawValues.h"
#include "engine/support/Unicode.h"

#include <array>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 4> kModes{"keep", "remove", "fixed", "reverse"};

// Whole user-perceived characters are reversed, so an accent stays on its
// letter and an emoji sequence stays one emoji.
std::string reversed(std::string_view text) {
    if (unicode::isSimpleAscii(text)) {
        return std::string(text.rbegin(), text.rend());
    }
    const auto characters = unicode::graphemes(text);
    std::string result;
    result.reserve(text.size());
    for (auto character = characters.rbegin(); character != characters.rend(); ++character) {
        result.append(*character);
    }
    return result;
}

} // namespace

std::string NameRule::summary() const {
    switch (mode) {
    case Mode::keep:
        return localized("Keep name");
    case Mode::remove:
        return localized("Remove name");
    case Mode::fixed:
        return text.empty() ? localized("Not set") : localized("Fixed \u201C%@\u201D", text);
    case Mode::reverse:
        return localized("Reverse name");
    }
    return {};
}

void NameRule::apply(FileName& name, const RuleContext&) const {
    switch (mode) {
    case Mode::keep:
        break;
    case Mode::remove:
        name.stem.clear();
        break;
    case Mode::fixed:
        name.stem = text;
        break;
    case Mode::reverse:
        name.stem = reversed(name.stem);
        break;
    }
}

std::string_view rawValue(NameRule::Mode mode) {
    return rawValueIn(kModes, mode);
}

std::optional<NameRule::Mode> nameModeFromRawValue(std::string_view raw) {
    return enumFromRawValue<NameRule::Mode>(kModes, raw);
}

void to_json(nlohmann::json& json, const NameRule& rule) {
    json = {{"mode", rawValue(rule.mode)}, {"text", rule.text}};
}

void from_json(const nlohmann::json& json, NameRule& rule) {
    using namespace json_fields;
    rule = NameRule(requireEnum<NameRule::Mode>(json, "mode", kModes), requireString(json, "text"));
}

} // namespace morvane

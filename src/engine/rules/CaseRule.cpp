#include "engine/rules/CaseRule.h"

#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/RawValues.h"
#include "engine/support/Unicode.h"

#include <array>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 5> kModes{"same", "lower", "upper", "title", "sentence"};
constexpr std::array<std::string_view, 5> kModeTexts{"Same", "lowercase", "UPPERCASE", "Title Case",
                                                     "Sentence case"};
constexpr std::array<std::string_view, 3> kExtensionModes{"same", "lower", "upper"};

bool startsWord(std::string_view character) {
    return character == "_" || character == "-" || character == "." ||
           unicode::isWhiteSpace(unicode::firstCodePoint(character));
}

} // namespace

std::string CaseRule::titleCased(std::string_view text) {
    std::string lowered = unicode::toLower(text);
    if (unicode::isSimpleAscii(lowered)) {
        bool capitalizeNext = true;
        for (char& c : lowered) {
            if (capitalizeNext && c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - ('a' - 'A'));
            }
            capitalizeNext = c == ' ' || c == '_' || c == '-' || c == '.' || (c >= '\t' && c <= '\r');
        }
        return lowered;
    }
    std::string result;
    result.reserve(lowered.size());
    bool capitalizeNext = true;
    for (const std::string_view character : unicode::graphemes(lowered)) {
        if (capitalizeNext && unicode::isAlphabetic(unicode::firstCodePoint(character))) {
            result += unicode::toUpper(character);
        } else {
            result += character;
        }
        capitalizeNext = startsWord(character);
    }
    return result;
}

std::string CaseRule::sentenceCased(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::size_t first = unicode::isSimpleAscii(text) ? 1 : unicode::graphemes(text).front().size();
    return unicode::toUpper(text.substr(0, first)) + unicode::toLower(text.substr(first));
}

void CaseRule::apply(FileName& name, const RuleContext&) const {
    switch (mode) {
    case Mode::same:
        break;
    case Mode::lower:
        name.stem = unicode::toLower(name.stem);
        break;
    case Mode::upper:
        name.stem = unicode::toUpper(name.stem);
        break;
    case Mode::title:
        name.stem = titleCased(name.stem);
        break;
    case Mode::sentence:
        name.stem = sentenceCased(name.stem);
        break;
    }
    switch (extensionMode) {
    case ExtensionMode::same:
        break;
    case ExtensionMode::lower:
        name.ext = unicode::toLower(name.ext);
        break;
    case ExtensionMode::upper:
        name.ext = unicode::toUpper(name.ext);
        break;
    }
}

std::string CaseRule::summary() const {
    const std::string modeText = localized(kModeTexts[static_cast<std::size_t>(mode)]);
    switch (extensionMode) {
    case ExtensionMode::same:
        return modeText;
    case ExtensionMode::lower:
        return localized("%@ \u00B7 ext lowercase", modeText);
    case ExtensionMode::upper:
        return localized("%@ \u00B7 ext UPPERCASE", modeText);
    }
    return modeText;
}

std::string_view rawValue(CaseRule::Mode mode) {
    return rawValueIn(kModes, mode);
}

std::string_view rawValue(CaseRule::ExtensionMode mode) {
    return rawValueIn(kExtensionModes, mode);
}

std::optional<CaseRule::Mode> caseModeFromRawValue(std::string_view raw) {
    return enumFromRawValue<CaseRule::Mode>(kModes, raw);
}

std::optional<CaseRule::ExtensionMode> caseExtensionModeFromRawValue(std::string_view raw) {
    return enumFromRawValue<CaseRule::ExtensionMode>(kExtensionModes, raw);
}

void to_json(nlohmann::json& json, const CaseRule& rule) {
    json = {{"mode", rawValue(rule.mode)}, {"extensionMode", rawValue(rule.extensionMode)}};
}

void from_json(const nlohmann::json& json, CaseRule& rule) {
    rule =
        CaseRule(json_fields::requireEnum<CaseRule::Mode>(json, "mode", kModes),
                 json_fields::requireEnum<CaseRule::ExtensionMode>(json, "extensionMode", kExtensionModes));
}

} // namespace morvane

#include "engine/rules/RemoveRule.h"

#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace morvane {
namespace {

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string result;
    for (const std::string& part : parts) {
        if (!result.empty()) {
            result.append(separator);
        }
        result.append(part);
    }
    return result;
}

std::size_t clampedCount(std::int64_t count, std::size_t available) {
    return count <= 0 ? 0
                      : static_cast<std::size_t>(
                            std::min<std::uint64_t>(static_cast<std::uint64_t>(count), available));
}

// Deletes `first` characters at the start, then `last` at the end.
std::string trimmedEnds(std::string_view stem, std::int64_t first, std::int64_t last) {
    if (unicode::isSimpleAscii(stem)) {
        const std::size_t head = clampedCount(first, stem.size());
        const std::size_t tail = clampedCount(last, stem.size() - head);
        return std::string(stem.substr(head, stem.size() - head - tail));
    }
    const auto characters = unicode::graphemes(stem);
    const std::size_t head = clampedCount(first, characters.size());
    const std::size_t tail = clampedCount(last, characters.size() - head);
    if (head + tail == characters.size()) {
        return {};
    }
    const auto begin = static_cast<std::size_t>(characters[head].data() - stem.data());
    const auto& lastKept = characters[characters.size() - tail - 1];
    const auto end = static_cast<std::size_t>(lastKept.data() - stem.data()) + lastKept.size();
    return std::string(stem.substr(begin, end - begin));
}

// Characters compare exactly, but canonically equivalent ones are the same
// character, so both sides are looked at in composed form.
std::string withoutCharacters(std::string_view stem, std::string_view set) {
    if (unicode::isSimpleAscii(stem) && unicode::isSimpleAscii(set)) {
        std::string result(stem);
        std::erase_if(result, [&](char c) { return set.find(c) != std::string_view::npos; });
        return result;
    }
    std::unordered_set<std::string> listed;
    for (const std::string_view character : unicode::graphemes(set)) {
        listed.insert(unicode::nfc(character));
    }
    std::string result;
    result.reserve(stem.size());
    for (const std::string_view character : unicode::graphemes(stem)) {
        if (!listed.contains(unicode::nfc(character))) {
            result.append(character);
        }
    }
    return result;
}

bool isSpace(std::string_view character) {
    return unicode::isWhiteSpace(unicode::firstCodePoint(character));
}

std::string collapsedSpaces(std::string_view stem) {
    std::string result;
    result.reserve(stem.size());
    bool pendingSpace = false;
    for (const std::string_view character : unicode::graphemes(stem)) {
        if (isSpace(character)) {
            pendingSpace = !result.empty();
            continue;
        }
        if (pendingSpace) {
            result += ' ';
            pendingSpace = false;
        }
        result.append(character);
    }
    return result;
}

} // namespace

std::string RemoveRule::summary() const {
    std::vector<std::string> parts;
    if (first >= 1) {
        parts.push_back(localizedCount("first %lld", "first %lld", first));
    }
    if (last >= 1) {
        parts.push_back(localizedCount("last %lld", "last %lld", last));
    }
    if (!characters.empty()) {
        parts.push_back(inQuotes(characters));
    }
    if (trimSpaces) {
        parts.push_back(localized("trim spaces"));
    }
    return parts.empty() ? localized("Not set") : localized("Remove %@", joined(parts, ", "));
}

void RemoveRule::apply(FileName& name, const RuleContext&) const {
    if (first >= 1 || last >= 1) {
        name.stem = trimmedEnds(name.stem, first, last);
    }
    if (!characters.empty()) {
        name.stem = withoutCharacters(name.stem, characters);
    }
    if (trimSpaces) {
        name.stem = collapsedSpaces(name.stem);
    }
}

void to_json(nlohmann::json& json, const RemoveRule& rule) {
    json = {{"first", rule.first},
            {"last", rule.last},
            {"characters", rule.characters},
            {"trimSpaces", rule.trimSpaces}};
}

void from_json(const nlohmann::json& json, RemoveRule& rule) {
    using namespace json_fields;
    rule = RemoveRule(requireInteger(json, "first"), requireInteger(json, "last"),
                      requireString(json, "characters"), requireBool(json, "trimSpaces"));
}

} // namespace morvane

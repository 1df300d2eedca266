#include "engine/rules/AffixRule.h"

#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <vector>

namespace morvane {
namespace {

// The byte offset after the first `count` characters of `text` (all of them
// when it has fewer).
std::size_t offsetAfterCharacters(std::string_view text, std::int64_t count) {
    if (count <= 0) {
        return 0;
    }
    if (unicode::isSimpleAscii(text)) {
        return static_cast<std::size_t>(
            std::min<std::int64_t>(count, static_cast<std::int64_t>(text.size())));
    }
    const auto characters = unicode::graphemes(text);
    if (static_cast<std::uint64_t>(count) >= characters.size()) {
        return text.size();
    }
    return static_cast<std::size_t>(characters[static_cast<std::size_t>(count)].data() - text.data());
}

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

} // namespace

std::string AffixRule::summary() const {
    std::vector<std::string> parts;
    if (!prefix.empty()) {
        parts.push_back(localized("prefix \u201C%@\u201D", prefix));
    }
    if (!insert.empty()) {
        parts.push_back(localized("insert at %lld", insertAt));
    }
    if (!suffix.empty()) {
        parts.push_back(localized("suffix \u201C%@\u201D", suffix));
    }
    return parts.empty() ? localized("Not set") : joined(parts, ", ");
}

void AffixRule::apply(FileName& name, const RuleContext&) const {
    if (prefix.empty() && insert.empty() && suffix.empty()) {
        return;
    }
    const std::string_view stem = name.stem;
    const std::size_t cut = insert.empty() ? stem.size() : offsetAfterCharacters(stem, insertAt);
    std::string result;
    result.reserve(prefix.size() + stem.size() + insert.size() + suffix.size());
    result.append(prefix).append(stem.substr(0, cut)).append(insert).append(stem.substr(cut)).append(suffix);
    name.stem = std::move(result);
}

void to_json(nlohmann::json& json, const AffixRule& rule) {
    json = {{"prefix", rule.prefix},
            {"insert", rule.insert},
            {"insertAt", rule.insertAt},
            {"suffix", rule.suffix}};
}

void from_json(const nlohmann::json& json, AffixRule& rule) {
    using namespace json_fields;
    rule = AffixRule(requireString(json, "prefix"), requireString(json, "insert"),
                     requireInteger(json, "insertAt"), requireString(json, "suffix"));
}

} // namespace morvane

#include "engine/rules/ReplaceRule.h"

#include "engine/support/JsonFields.h"
#include "engine/support/LiteralPattern.h"
#include "engine/support/Localization.h"

#include <algorithm>

namespace morvane {
namespace {

bool isActive(const ReplaceRule::Pair& pair) {
    return pair.isEnabled && !pair.find.empty();
}

} // namespace

std::string ReplaceRule::summary() const {
    const auto active = std::count_if(pairs.begin(), pairs.end(), isActive);
    if (active == 0) {
        return localized("Not set");
    }
    if (active == 1) {
        const Pair& pair = *std::find_if(pairs.begin(), pairs.end(), isActive);
        return inQuotes(pair.find) + " \u2192 " + inQuotes(pair.with);
    }
    return localizedCount("%lld replacement", "%lld replacements", active);
}

void ReplaceRule::apply(FileName& name, const RuleContext&) const {
    for (const Pair& pair : pairs) {
        if (isActive(pair)) {
            name.stem = LiteralPattern(pair.find, isCaseSensitive).replaceAll(name.stem, pair.with);
        }
    }
}

std::vector<std::size_t> ReplaceRule::matchCounts(const std::vector<std::string>& stems) const {
    std::vector<LiteralPattern> patterns;
    patterns.reserve(pairs.size());
    for (const Pair& pair : pairs) {
        patterns.emplace_back(pair.find, isCaseSensitive);
    }
    std::vector<std::size_t> counts(pairs.size(), 0);
    for (const std::string& original : stems) {
        std::string stem = original;
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            if (isActive(pairs[p]) && patterns[p].occursIn(stem)) {
                ++counts[p];
                stem = patterns[p].replaceAll(stem, pairs[p].with);
            }
        }
    }
    return counts;
}

void to_json(nlohmann::json& json, const ReplaceRule& rule) {
    nlohmann::json pairs = nlohmann::json::array();
    for (const auto& pair : rule.pairs) {
        pairs.push_back({{"find", pair.find}, {"with", pair.with}, {"isEnabled", pair.isEnabled}});
    }
    json = {{"pairs", std::move(pairs)}, {"isCaseSensitive", rule.isCaseSensitive}};
}

void from_json(const nlohmann::json& json, ReplaceRule& rule) {
    using namespace json_fields;
    std::vector<ReplaceRule::Pair> pairs;
    for (const auto& pair : requireArray(json, "pairs")) {
        pairs.push_back(
            {requireString(pair, "find"), requireString(pair, "with"), requireBool(pair, "isEnabled")});
    }
    rule = ReplaceRule(std::move(pairs), requireBool(json, "isCaseSensitive"));
}

} // namespace morvane

#include "engine/rules/RegexRule.h"

#include "engine/core/RuleError.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/RegexCache.h"
#include "engine/support/RegexReplacer.h"
#include "engine/support/Unicode.h"

#include <algorithm>

namespace morvane {
namespace {

bool isActive(const RegexRule::Pair& pair) {
    return pair.isEnabled && !pair.pattern.empty();
}

[[noreturn]] void failMatching(RegexReplacer::Failure failure) {
    switch (failure) {
    case RegexReplacer::Failure::tooSlow:
        throw RuleError(localized("Matching this name takes too long; simplify the pattern"));
    case RegexReplacer::Failure::missingGroup:
        throw RuleError(localized("The replacement refers to a group the pattern does not have; write "
                                  "\u201C\\$\u201D for a dollar sign"));
    case RegexReplacer::Failure::none:
    case RegexReplacer::Failure::other:
        break;
    }
    throw RuleError(localized("Invalid pattern"));
}

// Every match of the pair's pattern in `text` replaced by the expanded
// template, or nothing when there is no match. Matching is bounded in time per
// name; a name that runs out of time fails alone.
std::optional<std::string> substituted(const RegexRule::Pair& pair, bool ignoreCase,
                                       const std::string& text) {
    RegexReplacer& replacer =
        RegexReplacer::forThread(pair.pattern, ignoreCase, pair.replacement, RegexRule::matchTimeLimit);
    auto failure = RegexReplacer::Failure::none;
    auto result = replacer.replaceAll(text, failure);
    if (failure != RegexReplacer::Failure::none) {
        failMatching(failure);
    }
    // Outside the matches the text is copied through UTF-16, which would turn
    // ill-formed bytes into U+FFFD and so change parts the pattern never
    // touched.
    if (result && !unicode::isValidUtf8(text)) {
        throw RuleError(localized("The name is not valid UTF-8, so the pattern cannot rewrite it"));
    }
    return result;
}

std::string diagnosis(std::string_view pattern) {
    bool escaped = false;
    bool inClass = false;
    long depth = 0;
    for (const std::string_view character : unicode::graphemes(pattern)) {
        if (escaped) {
            escaped = false;
        } else if (character == "\\") {
            escaped = true;
        } else if (!inClass && character == "[") {
            inClass = true;
        } else if (inClass) {
            inClass = character != "]";
        } else if (character == "(") {
            ++depth;
        } else if (character == ")" && --depth < 0) {
            return localized("Unmatched closing parenthesis");
        }
    }
    if (escaped) {
        return localized("Pattern ends with a backslash");
    }
    if (inClass) {
        return localized("Missing closing bracket");
    }
    if (depth > 0) {
        return localized("Missing closing parenthesis");
    }
    return localized("Invalid pattern");
}

} // namespace

std::string RegexRule::summary() const {
    const auto active = std::count_if(pairs.begin(), pairs.end(), isActive);
    if (active == 0) {
        return localized("Not set");
    }
    if (active == 1) {
        const Pair& pair = *std::find_if(pairs.begin(), pairs.end(), isActive);
        return inQuotes(pair.pattern) + " \u2192 " + inQuotes(pair.replacement);
    }
    return localizedCount("%lld pattern", "%lld patterns", active);
}

void RegexRule::apply(FileName& name, const RuleContext&) const {
    std::string stem = name.stem;
    for (const Pair& pair : pairs) {
        if (!isActive(pair)) {
            continue;
        }
        std::optional<std::string> result;
        try {
            result = substituted(pair, ignoreCase, stem);
        } catch (const RegexCache::CompileError&) {
            const auto reason = diagnose(pair.pattern, ignoreCase);
            throw RuleError(reason && !reason->empty() ? *reason : localized("Invalid pattern"));
        }
        if (result) {
            stem = std::move(*result);
        }
    }
    name.stem = std::move(stem);
}

std::optional<std::string> RegexRule::validationError() const {
    for (const Pair& pair : pairs) {
        if (isActive(pair)) {
            if (auto reason = diagnose(pair.pattern, ignoreCase); reason && !reason->empty()) {
                return reason;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> RegexRule::diagnose(std::string_view pattern, bool ignoreCase) {
    try {
        RegexCache::regex(pattern, ignoreCase);
        return std::nullopt;
    } catch (const RegexCache::CompileError&) {
        return diagnosis(pattern);
    }
}

std::vector<std::size_t> RegexRule::matchCounts(const std::vector<std::string>& names) const {
    std::vector<bool> compiles(pairs.size(), false);
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        if (!isActive(pairs[p])) {
            continue;
        }
        try {
            RegexCache::regex(pairs[p].pattern, ignoreCase);
            compiles[p] = true;
        } catch (const RegexCache::CompileError&) {
            // Counted as no match; validationError reports it.
        }
    }
    std::vector<std::size_t> counts(pairs.size(), 0);
    for (const std::string& name : names) {
        std::string running = name;
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            if (!compiles[p]) {
                continue;
            }
            try {
                if (auto result = substituted(pairs[p], ignoreCase, running)) {
                    ++counts[p];
                    running = std::move(*result);
                }
            } catch (const RuleError&) {
                // A name the pair cannot rewrite counts as no match for it.
            }
        }
    }
    return counts;
}

void to_json(nlohmann::json& json, const RegexRule& rule) {
    nlohmann::json pairs = nlohmann::json::array();
    for (const auto& pair : rule.pairs) {
        pairs.push_back(
            {{"pattern", pair.pattern}, {"replacement", pair.replacement}, {"isEnabled", pair.isEnabled}});
    }
    json = {{"pairs", std::move(pairs)}, {"ignoreCase", rule.ignoreCase}};
}

void from_json(const nlohmann::json& json, RegexRule& rule) {
    using namespace json_fields;
    std::vector<RegexRule::Pair> pairs;
    for (const auto& pair : requireArray(json, "pairs")) {
        pairs.push_back({requireString(pair, "pattern"), requireString(pair, "replacement"),
                         requireBool(pair, "isEnabled")});
    }
    rule = RegexRule(std::move(pairs), requireBool(json, "ignoreCase"));
}

} // namespace morvane

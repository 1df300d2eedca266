#include "engine/rules/RegexRule.h"

#include "engine/core/RuleError.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/RegexCache.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <memory>

namespace morvane {
namespace {

bool isActive(const RegexRule::Pair& pair) {
    return pair.isEnabled && !pair.pattern.empty();
}

icu::UnicodeString unicodeText(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

[[noreturn]] void failMatching(UErrorCode status) {
    switch (status) {
    case U_REGEX_TIME_OUT:
    case U_REGEX_STACK_OVERFLOW:
        throw RuleError(localized("Matching this name takes too long; simplify the pattern"));
    case U_INDEX_OUTOFBOUNDS_ERROR:
    case U_REGEX_INVALID_CAPTURE_GROUP_NAME:
        throw RuleError(localized("The replacement refers to a group the pattern does not have; write "
                                  "\u201C\\$\u201D for a dollar sign"));
    default:
        throw RuleError(localized("Invalid pattern"));
    }
}

// Every match of `pattern` in `text` replaced by the expanded template, or
// nothing when there is no match. Each call has its own matcher, bounded in
// time; a name that runs out of time fails alone.
std::optional<std::string> substituted(const icu::RegexPattern& pattern, const std::string& text,
                                       const icu::UnicodeString& replacement) {
    const icu::UnicodeString input = unicodeText(text); // the matcher refers to it
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
    if (U_SUCCESS(status)) {
        matcher->setTimeLimit(RegexRule::matchTimeLimit, status);
    }
    icu::UnicodeString result;
    bool matched = false;
    while (U_SUCCESS(status) && matcher->find(status)) {
        matched = true;
        matcher->appendReplacement(result, replacement, status);
    }
    if (U_FAILURE(status)) {
        failMatching(status);
    }
    if (!matched) {
        return std::nullopt;
    }
    // Outside the matches the text is copied through UTF-16, which would turn
    // ill-formed bytes into U+FFFD and so change parts the pattern never
    // touched.
    if (!unicode::isValidUtf8(text)) {
        throw RuleError(localized("The name is not valid UTF-8, so the pattern cannot rewrite it"));
    }
    matcher->appendTail(result);
    std::string output;
    result.toUTF8String(output);
    return output;
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
        // Built from the user's own text only, so not looked up.
        return "\u201C" + pair.pattern + "\u201D \u2192 \u201C" + pair.replacement + "\u201D";
    }
    return localized("%lld patterns", active);
}

void RegexRule::apply(FileName& name, const RuleContext&) const {
    std::string stem = name.stem;
    for (const Pair& pair : pairs) {
        if (!isActive(pair)) {
            continue;
        }
        std::shared_ptr<const icu::RegexPattern> compiled;
        try {
            compiled = RegexCache::regex(pair.pattern, ignoreCase);
        } catch (const RegexCache::CompileError&) {
            const auto reason = diagnose(pair.pattern, ignoreCase);
            throw RuleError(reason && !reason->empty() ? *reason : localized("Invalid pattern"));
        }
        if (auto result = substituted(*compiled, stem, unicodeText(pair.replacement))) {
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
    std::vector<std::shared_ptr<const icu::RegexPattern>> compiled(pairs.size());
    std::vector<icu::UnicodeString> replacements(pairs.size());
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        if (!isActive(pairs[p])) {
            continue;
        }
        try {
            compiled[p] = RegexCache::regex(pairs[p].pattern, ignoreCase);
            replacements[p] = unicodeText(pairs[p].replacement);
        } catch (const RegexCache::CompileError&) {
            // Counted as no match; validationError reports it.
        }
    }
    std::vector<std::size_t> counts(pairs.size(), 0);
    for (const std::string& name : names) {
        std::string running = name;
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            if (!compiled[p]) {
                continue;
            }
            try {
                if (auto result = substituted(*compiled[p], running, replacements[p])) {
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

#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Rewrites the stem with regular-expression substitutions (ICU syntax; "$0",
// "$1"… and backslash escapes in replacements), pair after pair. The extension
// is never touched.
class RegexRule final : public RenameRule {
public:
    struct Pair {
        std::string pattern; // empty: the pair does nothing
        std::string replacement;
        bool isEnabled = true;
        bool operator==(const Pair&) const = default;
    };

    std::vector<Pair> pairs;
    bool ignoreCase = false;

    // How much work one substitution in one name may take, in ICU's match
    // time units (10,000 steps of the match engine each, a fraction of a
    // millisecond). Legitimate patterns need a few units on the longest file
    // names; catastrophic backtracking such as "(a+)+$" would otherwise run
    // for minutes on one name and stall the preview.
    static constexpr std::int32_t matchTimeLimit = 50;

    // The default rule: "^IMG_(\d+)" becomes "photo-$1".
    RegexRule() : pairs{Pair{"^IMG_(\\d+)", "photo-$1", true}} {}
    RegexRule(std::vector<Pair> pairs_, bool ignoreCase_)
        : pairs(std::move(pairs_)), ignoreCase(ignoreCase_) {}
    // One enabled pair.
    RegexRule(std::string pattern, std::string replacement, bool ignoreCase_)
        : pairs{Pair{std::move(pattern), std::move(replacement), true}}, ignoreCase(ignoreCase_) {}

    static constexpr RuleKind ruleKind = RuleKind::regex;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    // Throws RuleError when a pattern does not compile, when a replacement
    // names a group the pattern lacks, or when matching exceeds its bound.
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    // Why the first active pattern that does not compile fails, for the editor.
    std::optional<std::string> validationError() const;
    // Nothing when `pattern` compiles; otherwise a short reason in the
    // engine's language (never the compiler's own text).
    static std::optional<std::string> diagnose(std::string_view pattern, bool ignoreCase);
    // Per pair, in how many of `names` it matched at its place in the chain.
    std::vector<std::size_t> matchCounts(const std::vector<std::string>& names) const;

    bool operator==(const RegexRule&) const = default;
};

// The stored form: {"pairs": [{"pattern", "replacement", "isEnabled"}...],
// "ignoreCase"}. Decoding requires every key.
void to_json(nlohmann::json& json, const RegexRule& rule);
void from_json(const nlohmann::json& json, RegexRule& rule);

} // namespace morvane

#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <vector>

namespace morvane {

// Substitutes literal text in the stem, pair after pair; the extension is never
// touched, and each pair sees the output of the pairs before it.
class ReplaceRule final : public RenameRule {
public:
    struct Pair {
        std::string find; // empty: the pair does nothing
        std::string with;
        bool isEnabled = true;
        bool operator==(const Pair&) const = default;
    };

    std::vector<Pair> pairs;
    bool isCaseSensitive = false;

    // The default rule: one empty, enabled pair, ignoring case.
    ReplaceRule() : pairs{Pair{}} {}
    ReplaceRule(std::vector<Pair> pairs_, bool isCaseSensitive_)
        : pairs(std::move(pairs_)), isCaseSensitive(isCaseSensitive_) {}
    // One enabled pair.
    ReplaceRule(std::string find, std::string with, bool caseSensitive)
        : pairs{Pair{std::move(find), std::move(with), true}}, isCaseSensitive(caseSensitive) {}

    static constexpr RuleKind ruleKind = RuleKind::replace;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    // Per pair, how many of `stems` it changes when the pairs run in order.
    std::vector<std::size_t> matchCounts(const std::vector<std::string>& stems) const;

    bool operator==(const ReplaceRule&) const = default;
};

// The stored form: {"pairs": [{"find", "with", "isEnabled"}...], "isCaseSensitive"}.
// Decoding requires every key.
void to_json(nlohmann::json& json, const ReplaceRule& rule);
void from_json(const nlohmann::json& json, ReplaceRule& rule);

} // namespace morvane

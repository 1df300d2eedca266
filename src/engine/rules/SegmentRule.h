#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace morvane {

// Picks one part of the stem, a segment between delimiters or a run of
// characters, and keeps only that part, removes it, or moves it to the
// beginning or the end. Selections that select nothing leave the name alone.
// The extension is never touched.
class SegmentRule final : public RenameRule {
public:
    enum class Selection { delimited, characters, fromCharacter, toCharacter, firstCount, lastCount };
    enum class Action { keepOnly, remove, moveToBeginning, moveToEnd };

    // What the settings select in one stem, for the editor to show.
    struct Selected {
        std::string before;
        std::string selected;
        std::string after;
        std::string detail; // in the engine's language, e.g. "segment 2 of 4"
        bool operator==(const Selected&) const = default;
    };
    // Why nothing is selected, in the engine's language.
    struct Missing {
        std::string message;
        bool operator==(const Missing&) const = default;
    };
    using Outcome = std::variant<Selected, Missing>;

    // Character positions, zero-based, upper bound excluded.
    struct CharacterRange {
        std::int64_t lower;
        std::int64_t upper;
        bool operator==(const CharacterRange&) const = default;
    };

    Selection selection = Selection::delimited;
    std::string delimiter = "_";
    std::int64_t segment = 2; // 1-based; negative counts from the end (-1 is the last)
    std::int64_t from = 1;    // 1-based first character
    std::int64_t to = 4;      // 1-based last character, included
    std::int64_t count = 4;
    Action action = Action::keepOnly;

    SegmentRule() = default;
    SegmentRule(Selection selection_, std::string delimiter_, std::int64_t segment_, std::int64_t from_,
                std::int64_t to_, std::int64_t count_, Action action_)
        : selection(selection_), delimiter(std::move(delimiter_)), segment(segment_), from(from_), to(to_),
          count(count_), action(action_) {}

    static constexpr RuleKind ruleKind = RuleKind::segment;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    Outcome analyze(std::string_view stem) const;
    // The characters a character selection takes from a stem of `length`
    // characters; nothing for `delimited` or when nothing is selected.
    std::optional<CharacterRange> characterRange(std::int64_t length) const;

    bool operator==(const SegmentRule&) const = default;
};

std::string_view rawValue(SegmentRule::Selection selection);
std::string_view rawValue(SegmentRule::Action action);
std::optional<SegmentRule::Selection> segmentSelectionFromRawValue(std::string_view raw);
std::optional<SegmentRule::Action> segmentActionFromRawValue(std::string_view raw);

// The stored form: {"selection", "action" (raw values), "delimiter",
// "segment", "from", "to", "count"}; all required, the numbers whole.
void to_json(nlohmann::json& json, const SegmentRule& rule);
void from_json(const nlohmann::json& json, SegmentRule& rule);

} // namespace morvane

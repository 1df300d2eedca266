#pragma once

#include "engine/core/RenameRule.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Numbers the items being renamed: a zero-padded sequence number before the
// stem, after it, or in its place. The extension is never touched.
class CounterRule final : public RenameRule {
public:
    enum class Position { prefix, suffix, replace };

    Position position = Position::suffix;
    std::int64_t start = 1;
    std::int64_t step = 1; // may be 0 or negative
    std::int64_t width = 3;
    std::string separator = "-"; // unused by `replace`
    // Each folder's items are numbered from `start` on their own, rather than
    // the whole run in one sequence.
    bool perFolder = false;

    // Padding never goes beyond this many digits. No file name is longer than
    // 255 bytes, so a number this wide already makes any name invalid, just as
    // a wider one would, and a width of a billion from a hand-edited preset
    // does not ask for a billion zeros.
    static constexpr std::int64_t maxWidth = 256;

    CounterRule() = default;
    CounterRule(Position position_, std::int64_t start_, std::int64_t step_, std::int64_t width_,
                std::string separator_, bool perFolder_ = false)
        : position(position_), start(start_), step(step_), width(width_), separator(std::move(separator_)),
          perFolder(perFolder_) {}

    static constexpr RuleKind ruleKind = RuleKind::counter;

    RuleKind kind() const override { return ruleKind; }
    std::string summary() const override;
    // Throws RuleError when start + index × step leaves the 64-bit range.
    void apply(FileName& name, const RuleContext& context) const override;
    ItemDetails needsDetails() const override { return {}; }

    // The decimal digits of `value` with zeros in front up to `width` digits
    // (capped at maxWidth); a minus sign goes before them and is not counted.
    static std::string pad(std::int64_t value, std::int64_t width);

    bool operator==(const CounterRule&) const = default;
};

std::string_view rawValue(CounterRule::Position position);
std::optional<CounterRule::Position> counterPositionFromRawValue(std::string_view raw);

// The stored form: {"position" (raw value), "start", "step", "width",
// "separator"}, all required, the numbers whole; and "perFolder", written
// only when on, so that files without it read as before and readers that
// do not know it pass it over.
void to_json(nlohmann::json& json, const CounterRule& rule);
void from_json(const nlohmann::json& json, CounterRule& rule);

} // namespace morvane

#include "engine/rules/CounterRule.h"

#include "engine/core/RuleError.h"
#include "engine/support/JsonFields.h"
#include "engine/support/Localization.h"
#include "engine/support/RawValues.h"

#include <algorithm>
#include <array>
#include <limits>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 3> kPositions{"prefix", "suffix", "replace"};

using Limits = std::numeric_limits<std::int64_t>;

std::optional<std::int64_t> checkedProduct(std::int64_t a, std::int64_t b) {
    if (a == 0 || b == 0) {
        return 0;
    }
    const bool overflows = a > 0 ? (b > 0 ? a > Limits::max() / b : b < Limits::min() / a)
                                 : (b > 0 ? a < Limits::min() / b : b < Limits::max() / a);
    if (overflows) {
        return std::nullopt;
    }
    return a * b;
}

std::optional<std::int64_t> checkedSum(std::int64_t a, std::int64_t b) {
    if ((b > 0 && a > Limits::max() - b) || (b < 0 && a < Limits::min() - b)) {
        return std::nullopt;
    }
    return a + b;
}

// start + index × step, or nothing when it does not fit in 64 bits.
std::optional<std::int64_t> counterNumber(std::int64_t start, std::int64_t step, std::int64_t index) {
    const auto offset = checkedProduct(index, step);
    return offset ? checkedSum(start, *offset) : std::nullopt;
}

} // namespace

std::string CounterRule::pad(std::int64_t value, std::int64_t width) {
    // Unsigned negation: the magnitude of the smallest value has no signed form.
    const std::uint64_t magnitude =
        value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    const auto wanted = static_cast<std::size_t>(std::clamp<std::int64_t>(width, 0, maxWidth));
    std::string result;
    result.reserve(1 + std::max(wanted, digits.size()));
    if (value < 0) {
        result += '-';
    }
    if (wanted > digits.size()) {
        result.append(wanted - digits.size(), '0');
    }
    result += digits;
    return result;
}

void CounterRule::apply(FileName& name, const RuleContext& context) const {
    const auto value = counterNumber(start, step, perFolder ? context.folderIndex : context.index);
    if (!value) {
        // Wrapping around or saturating would hand out wrong or repeated
        // numbers without a word; the item keeps its name and says why.
        throw RuleError(localized("The counter number is out of range"));
    }
    const std::string text = pad(*value, width);
    switch (position) {
    case Position::prefix:
        name.stem = text + separator + name.stem;
        break;
    case Position::suffix:
        name.stem += separator;
        name.stem += text;
        break;
    case Position::replace:
        name.stem = text;
        break;
    }
}

std::string CounterRule::summary() const {
    std::string line;
    switch (position) {
    case Position::prefix:
        line = localized("Start %lld \u00B7 width %lld \u00B7 before", start, width);
        break;
    case Position::suffix:
        line = localized("Start %lld \u00B7 width %lld \u00B7 after", start, width);
        break;
    case Position::replace:
        line = localized("Start %lld \u00B7 width %lld \u00B7 replaces name", start, width);
        break;
    }
    return perFolder ? localized("%@ \u00B7 each folder", line) : line;
}

std::string_view rawValue(CounterRule::Position position) {
    return rawValueIn(kPositions, position);
}

std::optional<CounterRule::Position> counterPositionFromRawValue(std::string_view raw) {
    return enumFromRawValue<CounterRule::Position>(kPositions, raw);
}

void to_json(nlohmann::json& json, const CounterRule& rule) {
    json = {{"position", rawValue(rule.position)},
            {"start", rule.start},
            {"step", rule.step},
            {"width", rule.width},
            {"separator", rule.separator}};
    if (rule.perFolder) {
        json["perFolder"] = true;
    }
}

void from_json(const nlohmann::json& json, CounterRule& rule) {
    using namespace json_fields;
    rule = CounterRule(requireEnum<CounterRule::Position>(json, "position", kPositions),
                       requireInteger(json, "start"), requireInteger(json, "step"),
                       requireInteger(json, "width"), requireString(json, "separator"),
                       optionalBool(json, "perFolder", false));
}

} // namespace morvane

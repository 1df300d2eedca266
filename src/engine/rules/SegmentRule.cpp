#include "engine/rules/SegmentRule.h"

#include "engine/support/JsonFields.h"
#include "engine/support/LiteralPattern.h"
#include "engine/support/Localization.h"
#include "engine/support/RawValues.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <array>
#include <vector>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 6> kSelections{"delimited",   "characters", "fromCharacter",
                                                      "toCharacter", "firstCount", "lastCount"};
constexpr std::array<std::string_view, 4> kActions{"keepOnly", "remove", "moveToBeginning", "moveToEnd"};

struct Segments {
    std::vector<std::string_view> pieces;
    std::size_t index;
};

std::string joined(const std::vector<std::string_view>& pieces, std::string_view delimiter) {
    std::string result;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            result.append(delimiter);
        }
        result.append(pieces[i]);
    }
    return result;
}

// The delimiter is found on whole characters, exactly (case-sensitive, but
// canonically equivalent text matches).
std::variant<Segments, SegmentRule::Missing> segments(std::string_view stem, std::string_view delimiter,
                                                      std::int64_t segment) {
    if (delimiter.empty()) {
        return SegmentRule::Missing{localized("Delimiter is empty")};
    }
    auto pieces = LiteralPattern(delimiter, true).split(stem);
    const auto total = static_cast<std::int64_t>(pieces.size());
    // Both forms stay in range for every 64-bit `segment`; 0 selects nothing.
    const std::int64_t index = segment >= 1 ? segment - 1 : segment < 0 ? total + segment : -1;
    if (index < 0 || index >= total) {
        return SegmentRule::Missing{localizedCount("Segment %lld does not exist \u2014 %lld segment",
                                                   "Segment %lld does not exist \u2014 %lld segments", total,
                                                   segment, total)};
    }
    return Segments{std::move(pieces), static_cast<std::size_t>(index)};
}

// The byte offset of character `index` in `text`, or its size past the end.
std::size_t offsetOf(const std::vector<std::string_view>& characters, std::string_view text,
                     std::int64_t index) {
    const auto position = static_cast<std::size_t>(index);
    return position < characters.size() ? static_cast<std::size_t>(characters[position].data() - text.data())
                                        : text.size();
}

std::string selectionText(const SegmentRule& rule) {
    switch (rule.selection) {
    case SegmentRule::Selection::delimited:
        return localized("segment %lld by \u201C%@\u201D", rule.segment, rule.delimiter);
    case SegmentRule::Selection::characters:
        return localized("characters %lld\u2013%lld", rule.from, rule.to);
    case SegmentRule::Selection::fromCharacter:
        return localized("character %lld to end", rule.from);
    case SegmentRule::Selection::toCharacter:
        return localized("start to character %lld", rule.to);
    case SegmentRule::Selection::firstCount:
        return localizedCount("first %lld", "first %lld", rule.count);
    case SegmentRule::Selection::lastCount:
        return localizedCount("last %lld", "last %lld", rule.count);
    }
    return {};
}

} // namespace

std::optional<SegmentRule::CharacterRange> SegmentRule::characterRange(std::int64_t length) const {
    if (length < 1) {
        return std::nullopt;
    }
    // Every bound is checked before anything is computed from it, so values
    // at the ends of the 64-bit range select nothing instead of overflowing.
    switch (selection) {
    case Selection::delimited:
        return std::nullopt;
    case Selection::characters:
        if (from < 1 || from - 1 >= std::min(to, length)) {
            return std::nullopt;
        }
        return CharacterRange{from - 1, std::min(to, length)};
    case Selection::fromCharacter:
        if (from < 1 || from - 1 >= length) {
            return std::nullopt;
        }
        return CharacterRange{from - 1, length};
    case Selection::toCharacter:
        return to < 1 ? std::nullopt : std::optional(CharacterRange{0, std::min(to, length)});
    case Selection::firstCount:
        return count < 1 ? std::nullopt : std::optional(CharacterRange{0, std::min(count, length)});
    case Selection::lastCount:
        if (count > length) {
            return CharacterRange{0, length};
        }
        return count < 1 ? std::nullopt : std::optional(CharacterRange{length - count, length});
    }
    return std::nullopt;
}

SegmentRule::Outcome SegmentRule::analyze(std::string_view stem) const {
    if (selection == Selection::delimited) {
        auto found = segments(stem, delimiter, segment);
        if (auto* missing = std::get_if<Missing>(&found)) {
            return *missing;
        }
        const auto& [pieces, index] = std::get<Segments>(found);
        Selected result;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i < index) {
                result.before.append(pieces[i]).append(delimiter);
            } else if (i > index) {
                result.after.append(delimiter).append(pieces[i]);
            }
        }
        result.selected = std::string(pieces[index]);
        result.detail = localized("segment %lld of %lld", index + 1, pieces.size());
        return result;
    }

    const auto characters = unicode::graphemes(stem);
    const auto length = static_cast<std::int64_t>(characters.size());
    const auto range = characterRange(length);
    if (!range) {
        return Missing{stem.empty() ? localized("The name is empty")
                                    : localizedCount("Out of range \u2014 %lld character",
                                                     "Out of range \u2014 %lld characters", length)};
    }
    const std::size_t lower = offsetOf(characters, stem, range->lower);
    const std::size_t upper = offsetOf(characters, stem, range->upper);
    return Selected{std::string(stem.substr(0, lower)), std::string(stem.substr(lower, upper - lower)),
                    std::string(stem.substr(upper)),
                    localized("characters %lld\u2013%lld of %lld", range->lower + 1, range->upper, length)};
}

void SegmentRule::apply(FileName& name, const RuleContext&) const {
    if (selection == Selection::delimited) {
        auto found = segments(name.stem, delimiter, segment);
        auto* selected = std::get_if<Segments>(&found);
        if (!selected) {
            return;
        }
        auto& pieces = selected->pieces;
        const std::string_view piece = pieces[selected->index];
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(selected->index));
        if (action == Action::moveToBeginning) {
            pieces.insert(pieces.begin(), piece);
        } else if (action == Action::moveToEnd) {
            pieces.push_back(piece);
        }
        // The pieces view the old stem, so the new one is built before it is replaced.
        std::string result = action == Action::keepOnly ? std::string(piece) : joined(pieces, delimiter);
        name.stem = std::move(result);
        return;
    }

    // What analyze finds, without the editor's description of it, which
    // would be looked up and formatted for every name.
    const std::string_view stem = name.stem;
    const auto characters = unicode::graphemes(stem);
    const auto range = characterRange(static_cast<std::int64_t>(characters.size()));
    if (!range) {
        return;
    }
    const std::size_t lower = offsetOf(characters, stem, range->lower);
    const std::size_t upper = offsetOf(characters, stem, range->upper);
    const std::string_view before = stem.substr(0, lower);
    const std::string_view selected = stem.substr(lower, upper - lower);
    const std::string_view after = stem.substr(upper);
    std::string result;
    result.reserve(stem.size());
    switch (action) {
    case Action::keepOnly:
        result.append(selected);
        break;
    case Action::remove:
        result.append(before).append(after);
        break;
    case Action::moveToBeginning:
        result.append(selected).append(before).append(after);
        break;
    case Action::moveToEnd:
        result.append(before).append(after).append(selected);
        break;
    }
    name.stem = std::move(result);
}

std::string SegmentRule::summary() const {
    const std::string selected = selectionText(*this);
    switch (action) {
    case Action::keepOnly:
        return localized("Keep %@", selected);
    case Action::remove:
        return localized("Remove %@", selected);
    case Action::moveToBeginning:
        return localized("Move %@ to beginning", selected);
    case Action::moveToEnd:
        return localized("Move %@ to end", selected);
    }
    return {};
}

std::string_view rawValue(SegmentRule::Selection selection) {
    return rawValueIn(kSelections, selection);
}

std::string_view rawValue(SegmentRule::Action action) {
    return rawValueIn(kActions, action);
}

std::optional<SegmentRule::Selection> segmentSelectionFromRawValue(std::string_view raw) {
    return enumFromRawValue<SegmentRule::Selection>(kSelections, raw);
}

std::optional<SegmentRule::Action> segmentActionFromRawValue(std::string_view raw) {
    return enumFromRawValue<SegmentRule::Action>(kActions, raw);
}

void to_json(nlohmann::json& json, const SegmentRule& rule) {
    json = {{"selection", rawValue(rule.selection)},
            {"delimiter", rule.delimiter},
            {"segment", rule.segment},
            {"from", rule.from},
            {"to", rule.to},
            {"count", rule.count},
            {"action", rawValue(rule.action)}};
}

void from_json(const nlohmann::json& json, SegmentRule& rule) {
    using namespace json_fields;
    rule = SegmentRule(
        requireEnum<SegmentRule::Selection>(json, "selection", kSelections), requireString(json, "delimiter"),
        requireInteger(json, "segment"), requireInteger(json, "from"), requireInteger(json, "to"),
        requireInteger(json, "count"), requireEnum<SegmentRule::Action>(json, "action", kActions));
}

} // namespace morvane

#include "app/model/RuleEditing.h"

#include "engine/support/DateFormatting.h"

#include <algorithm>

namespace morvane::app::RuleEditing {

std::size_t pairCount(const AnyRule& rule) {
    if (const auto* replace = std::get_if<ReplaceRule>(&rule)) {
        return replace->pairs.size();
    }
    if (const auto* regex = std::get_if<RegexRule>(&rule)) {
        return regex->pairs.size();
    }
    return 0;
}

bool startsInListMode(const AnyRule& rule) {
    return pairCount(rule) > 1;
}

AnyRule keepingFirstPair(AnyRule rule) {
    std::visit(
        [](auto& concrete) {
            if constexpr (requires { concrete.pairs; }) {
                if (concrete.pairs.size() > 1) {
                    concrete.pairs.resize(1);
                }
            }
        },
        rule);
    return rule;
}

bool usesText(NameRule::Mode mode) {
    return mode == NameRule::Mode::fixed;
}

bool usesSeparator(CounterRule::Position position) {
    return position != CounterRule::Position::replace;
}

SegmentFields segmentFields(SegmentRule::Selection selection) {
    using Selection = SegmentRule::Selection;
    SegmentFields fields;
    switch (selection) {
    case Selection::delimited:
        fields.delimiter = fields.segment = true;
        break;
    case Selection::characters:
        fields.from = fields.to = true;
        break;
    case Selection::fromCharacter:
        fields.from = true;
        break;
    case Selection::toCharacter:
        fields.to = true;
        break;
    case Selection::firstCount:
    case Selection::lastCount:
        fields.count = true;
        break;
    }
    return fields;
}

std::vector<DateFormatChoice> dateFormatChoices(const DateRule& rule, Date now) {
    std::vector<std::string> formats(DateRule::presetFormats.begin(), DateRule::presetFormats.end());
    if (std::find(formats.begin(), formats.end(), rule.format) == formats.end()) {
        formats.push_back(rule.format);
    }
    std::vector<DateFormatChoice> choices;
    for (std::string& format : formats) {
        std::string example = DateFormatting::string(now, format, rule.timeZoneIdentifier);
        choices.push_back({std::move(format), std::move(example)});
    }
    return choices;
}

} // namespace morvane::app::RuleEditing

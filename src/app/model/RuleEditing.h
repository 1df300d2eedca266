#pragma once

#include "engine/presets/AnyRule.h"
#include "engine/support/Date.h"

#include <cstddef>
#include <string>
#include <vector>

namespace morvane::app {

// What the rule editors show and offer beyond the rules' own settings.
namespace RuleEditing {

// The pairs of a Replace or Regex rule (0 for the other kinds).
std::size_t pairCount(const AnyRule& rule);
// The Replace and Regex editors show the pairs as a list when there is more than one.
bool startsInListMode(const AnyRule& rule);
// Leaving list mode: only the first pair stays (the rule's other setting too).
AnyRule keepingFirstPair(AnyRule rule);

// The Name editor's text is the fixed text; the other modes do not use it.
bool usesText(NameRule::Mode mode);

// A counter in place of the name has nothing to separate.
bool usesSeparator(CounterRule::Position position);

// The fields of the Segment editor that a selection reads.
struct SegmentFields {
    bool delimiter = false;
    bool segment = false;
    bool from = false;
    bool to = false;
    bool count = false;
    bool operator==(const SegmentFields&) const = default;
};
SegmentFields segmentFields(SegmentRule::Selection selection);

// One format of the Date editor's menu, with what it writes at the moment.
struct DateFormatChoice {
    std::string format;
    std::string example;
    bool operator==(const DateFormatChoice&) const = default;
};
// The offered formats, then the rule's own when it is none of them; each
// with `now` written in it (in the rule's zone).
std::vector<DateFormatChoice> dateFormatChoices(const DateRule& rule, Date now);

} // namespace RuleEditing
} // namespace morvane::app

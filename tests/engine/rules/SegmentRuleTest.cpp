#include "engine/rules/SegmentRule.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace morvane {
namespace {

using Selection = SegmentRule::Selection;
using Action = SegmentRule::Action;
using Missing = SegmentRule::Missing;
constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
constexpr auto kMin = std::numeric_limits<std::int64_t>::min();

SegmentRule by(const char* delimiter, std::int64_t segment, Action action = Action::keepOnly) {
    return SegmentRule{Selection::delimited, delimiter, segment, 1, 4, 4, action};
}

// `first` is `from` for the range selections and `count` for the counted ones.
SegmentRule chars(Selection selection, std::int64_t first, std::int64_t to,
                  Action action = Action::keepOnly) {
    return SegmentRule{selection, "_", 2, first, to, first, action};
}

TEST(SegmentRule, KeepsRemovesOrMovesTheSelectedPart) {
    const std::tuple<SegmentRule, const char*, const char*> cases[] = {
        {SegmentRule{}, "IMG_2024_rome_final.jpg", "2024.jpg"},
        {by("_", -1, Action::remove), "a_b_c", "a_b"},
        {by("_", kMax), "a_b_c", "a_b_c"},
        {by("_", 2, Action::moveToBeginning), "a_b_c", "b_a_c"},
        {by("_", 2, Action::moveToEnd), "a_b_c", "a_c_b"},
        {by("_", 2), "a__b", ""},
        {by(" - ", 2, Action::moveToBeginning), "Artist - Title - Live", "Title - Artist - Live"},
        {chars(Selection::characters, 3, 5, Action::remove), "abcdefg", "abfg"},
        {chars(Selection::characters, 6, 5), "abcdefg", "abcdefg"},
        {chars(Selection::fromCharacter, 3, 0, Action::moveToBeginning), "abcde", "cdeab"},
        {chars(Selection::toCharacter, 0, 2, Action::moveToEnd), "abcde", "cdeab"},
        {chars(Selection::firstCount, 2, 0, Action::moveToEnd), "01title", "title01"},
        {chars(Selection::lastCount, 1, 0, Action::remove), "cafe\u0301", "caf"},
        {chars(Selection::firstCount, 1, 0, Action::moveToEnd), "\U0001F1EA\U0001F1F8ab",
         "ab\U0001F1EA\U0001F1F8"},
        {chars(Selection::characters, 2, 3), "abcde.txt", "bc.txt"},
        {chars(Selection::lastCount, 2, 0), "x\u00E9te\u0301", "te\u0301"},
        {chars(Selection::fromCharacter, 9, 0), "abc", "abc"},
        // One past the last character selects nothing, so the name stays whole.
        {chars(Selection::fromCharacter, 4, 0), "abc", "abc"},
        {chars(Selection::fromCharacter, 3, 0), "abe\u0301", "e\u0301"},
        {chars(Selection::fromCharacter, 4, 0), "abe\u0301", "abe\u0301"},
    };
    for (const auto& [rule, name, expected] : cases) {
        EXPECT_EQ(testing::applied(rule, name), expected) << name;
    }
}

TEST(SegmentRule, AnalysesWhatIsSelectedOrWhyNothingIs) {
    using Selected = SegmentRule::Selected;
    const std::tuple<SegmentRule, const char*, SegmentRule::Outcome> cases[] = {
        {SegmentRule{}, "IMG_2024_rome_final", Selected{"IMG_", "2024", "_rome_final", "segment 2 of 4"}},
        {by("_", 4), "a_b_c", Missing{"Segment 4 does not exist \u2014 3 segments"}},
        {by("_", 2), "photo", Missing{"Segment 2 does not exist \u2014 1 segment"}},
        {by("_", 0), "a_b", Missing{"Segment 0 does not exist \u2014 2 segments"}},
        {by("", 1), "a_b", Missing{"Delimiter is empty"}},
        {chars(Selection::characters, 3, 5), "abcdefg",
         Selected{"ab", "cde", "fg", "characters 3\u20135 of 7"}},
        {chars(Selection::lastCount, 0, 0), "abc", Missing{"Out of range \u2014 3 characters"}},
        {chars(Selection::fromCharacter, 4, 0), "abc", Missing{"Out of range \u2014 3 characters"}},
        {chars(Selection::firstCount, 3, 0), "", Missing{"The name is empty"}},
    };
    for (const auto& [rule, stem, outcome] : cases) {
        EXPECT_EQ(rule.analyze(stem), outcome) << stem;
    }
    const testing::LanguageScope spanish("es");
    EXPECT_EQ(by("_", -9).analyze("a_b"),
              SegmentRule::Outcome(Missing{"El segmento -9 no existe \u2014 2 segmentos"}));
}

TEST(SegmentRule, CharacterRangesClipToTheStemAndExtremesSelectNothing) {
    using Range = SegmentRule::CharacterRange;
    EXPECT_EQ(chars(Selection::characters, 3, 99).characterRange(7), (Range{2, 7}));
    EXPECT_EQ(chars(Selection::lastCount, 3, 0).characterRange(7), (Range{4, 7}));
    EXPECT_EQ(chars(Selection::lastCount, kMax, 0).characterRange(7), (Range{0, 7}));
    EXPECT_EQ(chars(Selection::fromCharacter, kMax, 0).characterRange(kMax), (Range{kMax - 1, kMax}));
    EXPECT_EQ(chars(Selection::characters, kMin, kMax).characterRange(7), std::nullopt);
    EXPECT_EQ(chars(Selection::lastCount, kMin, 0).characterRange(7), std::nullopt);
    EXPECT_EQ(chars(Selection::toCharacter, 0, kMin).characterRange(7), std::nullopt);
}

} // namespace
} // namespace morvane

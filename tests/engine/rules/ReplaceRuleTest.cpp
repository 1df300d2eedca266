#include "engine/rules/ReplaceRule.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Pair = ReplaceRule::Pair;

TEST(ReplaceRule, ReplacesLiteralTextInTheStem) {
    struct Case {
        const char* label;
        ReplaceRule rule;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"pairs chain", ReplaceRule({{"a", "b", true}, {"b", "c", true}}, true), "aab", "ccc"},
        {"ignores case", ReplaceRule("img", "Trip", false), "IMG_001.jpg", "Trip_001.jpg"},
        {"respects case", ReplaceRule("img", "Trip", true), "IMG_001.jpg", "IMG_001.jpg"},
        {"deletes", ReplaceRule("-", "", true), "a-b-c.txt", "abc.txt"},
        {"empty find does nothing", ReplaceRule("", "x", true), "abc", "abc"},
        {"disabled pair", ReplaceRule({{"a", "x", false}}, true), "abc", "abc"},
        {"no overlap", ReplaceRule("aa", "b", true), "aaa", "ba"},
        {"replacement not searched again", ReplaceRule("a", "aa", true), "aXa", "aaXaa"},
        {"extension untouched", ReplaceRule("JPG", "x", true), "photo.JPG", "photo.JPG"},
        {"decomposed text matches precomposed find", ReplaceRule("\u00e9", "e", true), "cafe\u0301.txt",
         "cafe.txt"},
        {"precomposed text matches decomposed find", ReplaceRule("e\u0301", "E", true), "caf\u00e9", "cafE"},
        {"accented capital ignoring case", ReplaceRule("\u00e9t\u00e9", "summer", false),
         "\u00c9T\u00c9 2024", "summer 2024"},
        {"never half a character", ReplaceRule("e", "X", true), "cafe\u0301 e", "cafe\u0301 X"},
        {"ASCII find in non-ASCII stem", ReplaceRule("photo", "pic", false), "Photo r\u00e9sum\u00e9",
         "pic r\u00e9sum\u00e9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testing::applied(c.rule, c.name), c.expected) << c.label;
    }
}

TEST(ReplaceRule, MatchCountsCountStemsChangedWithPairsInOrder) {
    const ReplaceRule rule({{"a", "x", true}, {"b", "y", true}, {"", "z", true}, {"c", "w", false}}, true);
    EXPECT_EQ(rule.matchCounts({"ab", "b", "c", "aaa"}), (std::vector<std::size_t>{2, 2, 0, 0}));
    // The second pair sees the first one's output.
    const ReplaceRule chained({{"a", "b", true}, {"b", "c", true}}, true);
    EXPECT_EQ(chained.matchCounts({"a", "x"}), (std::vector<std::size_t>{1, 1}));
}

} // namespace
} // namespace morvane

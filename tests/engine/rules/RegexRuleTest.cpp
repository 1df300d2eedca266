#include "engine/rules/RegexRule.h"

#include "engine/core/RenamePipeline.h"
#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvane {
namespace {

using Pairs = std::vector<RegexRule::Pair>;

const std::string kNoSuchGroup = "The replacement refers to a group the pattern does not have; write "
                                 "\u201C\\$\u201D for a dollar sign";

TEST(RegexRule, SubstitutesEveryMatchPairAfterPairInTheStemOnly) {
    const std::tuple<RegexRule, const char*, const char*> cases[] = {
        {RegexRule{}, "IMG_0042.jpg", "photo-0042.jpg"},
        {RegexRule{"a", "", false}, "banana.a", "bnn.a"},
        {RegexRule{Pairs{{"a", "b", true}, {"b", "c", true}, {"c", "d", false}, {"", "x", true}}, false},
         "ab", "cc"},
        {RegexRule{"img", "pic", true}, "IMG_1", "pic_1"},
        {RegexRule{"(\\w+)-(\\w+)", "[$0] $2-$1", false}, "one-two", "[one-two] two-one"},
        {RegexRule{"(\\d+)", "\\$$1\\\\", false}, "a12", "a$12\\"},
        {RegexRule{"\u00E9", "e", false}, "caf\u00E9 \u00E9t\u00E9", "cafe ete"},
    };
    for (const auto& [rule, name, expected] : cases) {
        EXPECT_EQ(testing::applied(rule, name), expected) << name;
    }
}

TEST(RegexRule, ExpandsNumberedAndNamedGroupsAndEscapesInTheReplacement) {
    const std::tuple<RegexRule, const char*, const char*> cases[] = {
        // "$10" with two groups is group 1 and a literal 0.
        {RegexRule{"(a)(b)", "$10-$2$1", false}, "ab", "a0-ba"},
        {RegexRule{"(?<year>\\d{4})-(\\d\\d)", "${year}.$2", false}, "2024-05", "2024.05"},
        {RegexRule{"(x)?y", "[$1]", false}, "y", "[]"},
        {RegexRule{"a", "\\u00E9\\$", false}, "cat", "c\u00E9$t"},
        {RegexRule{"\u00E9", "\\\u00C9", false}, "caf\u00E9", "caf\u00C9"},
        {RegexRule{"(b)", "<$\u0661>", false}, "abc", "a<b>c"},
    };
    for (const auto& [rule, name, expected] : cases) {
        EXPECT_EQ(testing::applied(rule, name), expected) << rule.pairs[0].replacement;
    }
    for (const char* replacement : {"${nope}", "${year", "${}", "$x"}) {
        EXPECT_EQ(testing::failure(RegexRule{"(?<year>a)", replacement, false}, "a"), kNoSuchGroup)
            << replacement;
    }
}

// Each thread keeps a limited number of prepared pairs; a longer list must
// still run every pair in order.
TEST(RegexRule, RunsMorePairsThanAThreadKeepsPrepared) {
    Pairs pairs;
    for (char letter = 'a'; letter < 'u'; ++letter) {
        pairs.push_back({std::string(1, letter), std::string(1, static_cast<char>(letter + 1)), true});
    }
    const RegexRule rule{pairs, false};
    for (const char* name : {"a.txt", "k.txt", "ab.txt"}) {
        EXPECT_EQ(testing::applied(rule, name), name[1] == 'b' ? "uu.txt" : "u.txt") << name;
    }
    EXPECT_EQ(testing::applied(rule, "xyz.txt"), "xyz.txt");
}

TEST(RegexRule, DiagnosesPatternsThatDoNotCompileAndFailsWithTheDiagnosis) {
    const std::tuple<const char*, std::optional<std::string>> cases[] = {
        {"(abc", "Missing closing parenthesis"},
        {"abc)", "Unmatched closing parenthesis"},
        {"[abc", "Missing closing bracket"},
        {"abc\\", "Pattern ends with a backslash"},
        {"[\\]", "Missing closing bracket"},
        {"a{2,1}", "Invalid pattern"},
        {"[(]", std::nullopt},
    };
    for (const auto& [pattern, reason] : cases) {
        EXPECT_EQ(RegexRule::diagnose(pattern, false), reason) << pattern;
    }
    // The first pair's substitution is dropped along with the rest.
    const RegexRule rule{Pairs{{"a", "x", true}, {"(b", "y", true}, {"c", "z", true}}, false};
    EXPECT_EQ(testing::failure(rule, "abc"), "Missing closing parenthesis");
    EXPECT_EQ(rule.validationError(), "Missing closing parenthesis");
    EXPECT_EQ((RegexRule{Pairs{{"(b", "", false}, {"a", "", true}}, false}.validationError()), std::nullopt);
}

TEST(RegexRule, CountsNamesEachPairChangesAtItsPlaceInTheChain) {
    const std::vector<std::string> names{"IMG_1", "DSC_2", "IMG_3"};
    EXPECT_EQ((RegexRule{Pairs{{"^IMG", "", false}, {"^IMG", "", true}}, false}.matchCounts(names)),
              (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ((RegexRule{Pairs{{"DSC", "IMG", true}, {"^IMG", "", true}, {"(", "", true}}, false}.matchCounts(
                  names)),
              (std::vector<std::size_t>{1, 3, 0}));
}

TEST(RegexRule, ABadReplacementOrAnIllFormedNameFailsOnlyWhereItMatches) {
    EXPECT_EQ(testing::failure(RegexRule{"(a)", "$2", false}, "bab"), kNoSuchGroup);
    EXPECT_EQ(testing::failure(RegexRule{"a", "US$", false}, "bab"), kNoSuchGroup);
    EXPECT_EQ(testing::failure(RegexRule{"a", "b", false}, "a\xFF"),
              "The name is not valid UTF-8, so the pattern cannot rewrite it");
    EXPECT_EQ(testing::applied(RegexRule{"x", "y", false}, "a\xFF"), "a\xFF");
}

TEST(RegexRule, CatastrophicBacktrackingFailsThatItemAndThePlanGoesOn) {
    const std::string slow = std::string(64, 'a') + "!";
    const RegexRule rule{"(a+)+$", "x", false};
    const std::vector<FileItem> items{FileItem(slow + ".txt", "/d", {}, {}, 0, false, true),
                                      FileItem("aa.txt", "/d", {}, {}, 0, false, true)};
    const RenamePlan plan = RenamePipeline({makeStep(rule)}).plan(items);
    EXPECT_EQ(plan.entries[0].newName, slow + ".txt");
    EXPECT_EQ(plan.entries[1].newName, "x.txt");
    EXPECT_EQ(plan.ruleErrors.at(0), "Matching this name takes too long; simplify the pattern");
}

// The bound counts matching work, not time, and starts afresh with every name:
// many names that each need a fair share of it all succeed.
TEST(RegexRule, TheMatchingBoundAppliesToEachNameAlone) {
    const std::string costly = std::string(13, 'a') + "!";
    std::vector<FileItem> items;
    for (int i = 0; i < 40; ++i) {
        items.emplace_back(costly + std::to_string(i), "/d", Date{}, Date{}, 0, false, true);
    }
    items.emplace_back("aa", "/d", Date{}, Date{}, 0, false, true);
    const RenamePlan plan = RenamePipeline({makeStep(RegexRule{"(a+)+$", "x", false})}).plan(items);
    EXPECT_TRUE(plan.ruleErrors.empty());
    EXPECT_EQ(plan.entries.back().newName, "x");
}

} // namespace
} // namespace morvane

#include "engine/rules/CounterRule.h"

#include "engine/core/RenamePipeline.h"
#include "engine/support/JsonFields.h"
#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <initializer_list>
#include <limits>
#include <tuple>

namespace morvane {
namespace {

constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
using Position = CounterRule::Position;

TEST(CounterRule, NumbersOnlyIncludedItemsAcrossTheWholeList) {
    std::vector<FileItem> items;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        items.emplace_back(name, name[0] == 'b' ? "/y" : "/x", Date{}, Date{}, 0, false, name[0] != 'b');
    }
    const auto plan = RenamePipeline({makeStep(CounterRule{})}).plan(items);
    EXPECT_EQ(plan.entries[0].newName, "a-001.txt");
    EXPECT_EQ(plan.entries[1].newName, "b.txt");
    EXPECT_EQ(plan.entries[2].newName, "c-002.txt");
}

// Numbered in the order the items come, each folder from the start value;
// an excluded item takes no number in its folder either.
TEST(CounterRule, PerFolderStartsAgainInEachFolderInTheListsOrder) {
    std::vector<FileItem> items;
    for (const auto& [name, folder, included] :
         std::initializer_list<std::tuple<const char*, const char*, bool>>{{"a.txt", "/x", true},
                                                                           {"b.txt", "/x/sub", true},
                                                                           {"c.txt", "/x", false},
                                                                           {"d.txt", "/x", true},
                                                                           {"e.txt", "/x/sub", true}}) {
        items.emplace_back(name, folder, Date{}, Date{}, 0, false, included);
    }
    CounterRule rule(Position::prefix, 10, 5, 2, "_", true);
    const auto plan = RenamePipeline({makeStep(rule)}).plan(items);
    std::vector<std::string> names;
    for (const auto& entry : plan.entries) {
        names.push_back(entry.newName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"10_a.txt", "10_b.txt", "c.txt", "15_d.txt", "15_e.txt"}));
    rule.perFolder = false;
    EXPECT_EQ(RenamePipeline({makeStep(rule)}).plan(items).entries[4].newName, "25_e.txt");
}

// Written only when on, so files of rules without it stay as they were, and
// an older reader of the format passes the key over.
TEST(CounterRule, PerFolderIsAnOptionalKey) {
    const CounterRule perFolder(Position::suffix, 1, 1, 3, "-", true);
    EXPECT_FALSE(nlohmann::json(CounterRule()).contains("perFolder"));
    EXPECT_EQ(nlohmann::json(perFolder)["perFolder"], true);
    EXPECT_EQ(nlohmann::json(perFolder).get<CounterRule>(), perFolder);
    EXPECT_EQ(nlohmann::json::parse(R"({"position":"suffix","start":1,"step":1,"width":3,"separator":"-"})")
                  .get<CounterRule>(),
              CounterRule());
    EXPECT_THROW(nlohmann::json::parse(
                     R"({"position":"suffix","start":1,"step":1,"width":3,"separator":"-","perFolder":1})")
                     .get<CounterRule>(),
                 DecodingError);
    const testing::LanguageScope english("en");
    EXPECT_EQ(perFolder.summary(), "Start 1 \u00B7 width 3 \u00B7 after \u00B7 each folder");
}

TEST(CounterRule, PlacesThePaddedNumberAsSet) {
    const std::tuple<CounterRule, std::int64_t, const char*, const char*> cases[] = {
        {CounterRule{Position::prefix, 10, 5, 2, "_"}, 2, "x", "20_x"},
        {CounterRule{Position::suffix, 1, -1, 3, "-"}, 2, "x", "x--001"},
        {CounterRule{Position::replace, 1, 1, 3, "-"}, 0, "holiday.jpg", "001.jpg"},
        {CounterRule{Position::prefix, 1, 1, 3, ""}, 0, "photo", "001photo"},
        {CounterRule{Position::suffix, 1234, 0, 3, " "}, 7, "x", "x 1234"},
        {CounterRule{Position::suffix, kMin, 1, 0, "#"}, 0, "x", "x#-9223372036854775808"},
    };
    for (const auto& [rule, index, name, expected] : cases) {
        EXPECT_EQ(testing::applied(rule, name, index), expected);
    }
}

TEST(CounterRule, PadsWithZerosUpToABoundNoNameCanReach) {
    EXPECT_EQ(CounterRule::pad(-1, 3), "-001");
    EXPECT_EQ(CounterRule::pad(5, -7), "5");
    EXPECT_EQ(CounterRule::pad(kMin, 20), "-09223372036854775808");
    // A width of a billion yields 256 digits, already too long for any name.
    const std::string wide = CounterRule::pad(7, 1'000'000'000);
    EXPECT_EQ(wide.size(), 256u);
    EXPECT_EQ(wide.find_first_not_of('0'), 255u);
}

// By the sum, by the product (the largest number is 7 × 1317624576693539401),
// and by both: the bounds themselves are numbers like any other.
TEST(CounterRule, ANumberLandingExactlyOnTheBoundsIsWritten) {
    const std::tuple<std::int64_t, std::int64_t, std::int64_t, const char*> cases[] = {
        {kMax - 2, 1, 2, "x-9223372036854775807"},
        {0, kMax / 7, 7, "x-9223372036854775807"},
        {-1, kMax / 7, 7, "x-9223372036854775806"},
        {kMin + 3, -1, 3, "x--9223372036854775808"},
    };
    for (const auto& [start, step, index, expected] : cases) {
        EXPECT_EQ(testing::applied(CounterRule{Position::suffix, start, step, 3, "-"}, "x", index), expected)
            << start << " + " << index << " \u00D7 " << step;
    }
}

TEST(CounterRule, ANumberBeyondSixtyFourBitsFailsThatItemInsteadOfWrapping) {
    const std::tuple<std::int64_t, std::int64_t, std::int64_t> cases[] = {
        {kMax, 1, 1}, {kMin, -1, 1}, {0, kMin, 2}, {-5, kMin, 1}, {1, kMax, kMax}};
    for (const auto& [start, step, index] : cases) {
        EXPECT_EQ(testing::failure(CounterRule{Position::suffix, start, step, 3, "-"}, "x", index),
                  "The counter number is out of range")
            << start << " + " << index << " \u00D7 " << step;
    }
}

} // namespace
} // namespace morvane

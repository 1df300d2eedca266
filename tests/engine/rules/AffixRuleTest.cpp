#include "engine/rules/AffixRule.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace morvane {
namespace {

TEST(AffixRule, InsertsAtACharacterPositionClampedToTheStem) {
    constexpr auto huge = std::numeric_limits<std::int64_t>::max();
    constexpr auto tiny = std::numeric_limits<std::int64_t>::min();
    const std::tuple<AffixRule, const char*, const char*> cases[] = {
        {AffixRule{"2024_", "-", 4, "_v2"}, "IMG0001.jpg", "2024_IMG0-001_v2.jpg"},
        {AffixRule{"", "X", 100, ""}, "abc", "abcX"},
        {AffixRule{"", "X", -3, ""}, "abc", "Xabc"},
        {AffixRule{"", "X", huge, ""}, "abc", "abcX"},
        {AffixRule{"", "X", tiny, ""}, "abc", "Xabc"},
        {AffixRule{"p", "", 2, "s"}, "abc.txt", "pabcs.txt"},
        // A flag is two code points but one character, and so is "e" with an accent.
        {AffixRule{"", "X", 1, ""}, "\U0001F1EA\U0001F1F8ab", "\U0001F1EA\U0001F1F8Xab"},
        {AffixRule{"", "X", 5, ""}, "e\u0301b", "e\u0301bX"},
    };
    for (const auto& [rule, name, expected] : cases) {
        EXPECT_EQ(testing::applied(rule, name), expected) << name;
    }
}

} // namespace
} // namespace morvane

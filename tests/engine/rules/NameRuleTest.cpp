#include "engine/rules/NameRule.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvane {
namespace {

TEST(NameRule, ActsOnTheWholeStemAndNeverOnTheExtension) {
    using Mode = NameRule::Mode;
    const std::tuple<Mode, const char*, const char*, const char*> cases[] = {
        {Mode::remove, "x", "photo.jpg", ".jpg"},
        {Mode::remove, "x", "README", ""},
        {Mode::fixed, " as typed ", "a.jpg", " as typed .jpg"},
        {Mode::reverse, "x", "abc.txt", "cba.txt"},
        // Whole characters: the accent stays on its "e", the flag stays a flag,
        // and CR LF keeps its order.
        {Mode::reverse, "x", "e\u0301x.txt", "xe\u0301.txt"},
        {Mode::reverse, "x", "\U0001F1EA\U0001F1F8ab\r\nc", "c\r\nba\U0001F1EA\U0001F1F8"},
    };
    for (const auto& [mode, text, name, expected] : cases) {
        EXPECT_EQ(testing::applied(NameRule{mode, text}, name), expected) << name;
    }
}

} // namespace
} // namespace morvane

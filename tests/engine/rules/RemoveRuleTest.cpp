#include "engine/rules/RemoveRule.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace morvane {
namespace {

TEST(RemoveRule, DeletesByCountThenBySetThenTidiesWhiteSpace) {
    constexpr auto huge = std::numeric_limits<std::int64_t>::max();
    constexpr auto tiny = std::numeric_limits<std::int64_t>::min();
    const std::tuple<RemoveRule, const char*, const char*> cases[] = {
        {RemoveRule{4, 0, "", false}, "IMG_0001.jpg", "0001.jpg"},
        {RemoveRule{2, 2, "", false}, "abc", ""},
        {RemoveRule{huge, huge, "", false}, "abc", ""},
        {RemoveRule{tiny, tiny, "", false}, "abc", "abc"},
        {RemoveRule{1, 1, "", false}, "\U0001F1EA\U0001F1F8abe\u0301", "ab"},
        {RemoveRule{0, 0, "_-", false}, "my_file-name", "myfilename"},
        {RemoveRule{0, 0, "aA", false}, "aAa", ""},
        // A precomposed "é" in the set removes the decomposed one, and only it.
        {RemoveRule{0, 0, "\u00E9", false}, "cafe\u0301 e", "caf e"},
        {RemoveRule{}, "  my   holiday  photo ", "my holiday photo"},
        {RemoveRule{}, "a\tb\u00A0\u00A0c\u3000d", "a b c d"},
        {RemoveRule{0, 0, "", false}, "  a  b ", "  a  b "},
        // Deleting characters can leave runs of spaces that the trim then tidies.
        {RemoveRule{0, 0, "-", true}, "a - b", "a b"},
    };
    for (const auto& [rule, name, expected] : cases) {
        EXPECT_EQ(testing::applied(rule, name), expected) << name;
    }
}

} // namespace
} // namespace morvane

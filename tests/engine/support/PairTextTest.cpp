#include "engine/support/PairText.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Pairs = PairText::Pairs;

TEST(PairText, ParsesTabsArrowsAndEqualsInThatOrder) {
    struct Case {
        const char* label;
        const char* text;
        Pairs expected;
    };
    const Case cases[] = {
        {"spaced equals", "old = new", {{"old", "new"}}},
        {"equals", "old=new", {{"old", "new"}}},
        {"arrow", "x \u2192 y", {{"x", "y"}}},
        {"arrow before equals", "a=b\u2192c", {{"a=b", "c"}}},
        {"tab before arrow", "a\u2192b\tc", {{"a\u2192b", "c"}}},
        {"only one space trimmed", "  two spaces", {{" two spaces", ""}}},
        {"cut at the first separator", "a=b=c", {{"a", "b=c"}}},
        {"blank lines dropped",
         "a=b\n\n   \n\t\u00a0\nc=d\r\ne=f\rg=h\u2028i=j",
         {{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}, {"i", "j"}}},
        {"empty find kept", "=x", {{"", "x"}}},
        {"empty text", "", {}},
        // Editors on some systems begin a saved file with a byte-order mark;
        // it is no part of the first find text. Only a leading one is dropped.
        {"leading byte-order mark",
         "\xEF\xBB\xBFIMG_\tphoto-\n\xEF\xBB\xBFx=y",
         {{"IMG_", "photo-"}, {"\xEF\xBB\xBFx", "y"}}},
        {"only a byte-order mark", "\xEF\xBB\xBF", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PairText::parse(c.text), c.expected) << c.label;
    }
}

TEST(PairText, WritesOneLinePerPairAndReadsItBack) {
    const Pairs pairs{{"a\tb", "c"}, {"multi\nline\r", ""}};
    const std::string text = PairText::tsv(pairs);
    EXPECT_EQ(text, "a b\tc\nmulti line \t\n");
    EXPECT_EQ(PairText::parse(text), (Pairs{{"a b", "c"}, {"multi line", ""}}));
    EXPECT_EQ(PairText::tsv({}), "");
}

} // namespace
} // namespace morvane

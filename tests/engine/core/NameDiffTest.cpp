#include "engine/core/NameDiff.h"

#include <gtest/gtest.h>

namespace morvane {

void PrintTo(const NameDiff::Span& span, std::ostream* out) {
    *out << "{" << static_cast<int>(span.kind) << ", \"" << span.old << "\", \"" << span.new_ << "\"}";
}

namespace {

using Kind = NameDiff::Kind;
using Span = NameDiff::Span;

TEST(NameDiff, AlignsIgnoringCaseAndTakesTheNewSideFirstOnTies) {
    struct Case {
        const char* oldName;
        const char* newName;
        std::vector<Span> expected;
    };
    const Case cases[] = {
        {"abc", "abc", {{Kind::equal, "abc", "abc"}}},
        {"Photo", "photo", {{Kind::caseChange, "P", "p"}, {Kind::equal, "hoto", "hoto"}}},
        {"", "new", {{Kind::added, "", "new"}}},
        {"old", "", {{Kind::removed, "old", ""}}},
        {"IMG_001",
         "Trip 001",
         {{Kind::added, "", "Tr"},
          {Kind::caseChange, "I", "i"},
          {Kind::replaced, "MG_", "p "},
          {Kind::equal, "001", "001"}}},
        {"ab", "ba", {{Kind::added, "", "b"}, {Kind::equal, "a", "a"}, {Kind::removed, "b", ""}}},
        {"abc", "xbz", {{Kind::replaced, "a", "x"}, {Kind::equal, "b", "b"}, {Kind::replaced, "c", "z"}}},
        {"", "", {}},
        {"aBc", "AbC", {{Kind::caseChange, "aBc", "AbC"}}},
        {"aBcd", "AbCd", {{Kind::caseChange, "aBc", "AbC"}, {Kind::equal, "d", "d"}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameDiff(c.oldName, c.newName).spans(), c.expected) << c.oldName << " -> " << c.newName;
    }
}

TEST(NameDiff, ComparesWholeCharactersUnderCanonicalEquivalence) {
    // Precomposed against decomposed "é": the same character, kept as written on each side.
    EXPECT_EQ(NameDiff("caf\u00e9", "cafe\u0301").spans(),
              (std::vector<Span>{{Kind::equal, "caf\u00e9", "cafe\u0301"}}));
    // A mark added to a letter replaces the whole character, never half of it.
    EXPECT_EQ(NameDiff("cafe", "cafe\u0301").spans(),
              (std::vector<Span>{{Kind::equal, "caf", "caf"}, {Kind::replaced, "e", "e\u0301"}}));
    EXPECT_EQ(
        NameDiff("\u00c9t\u00e9", "\u00e9t\u00e9").spans(),
        (std::vector<Span>{{Kind::caseChange, "\u00c9", "\u00e9"}, {Kind::equal, "t\u00e9", "t\u00e9"}}));
}

TEST(NameDiff, SidesAndUnchanged) {
    const NameDiff diff("ab", "ba");
    EXPECT_EQ(diff.oldSide(), (std::vector<Span>{{Kind::equal, "a", "a"}, {Kind::removed, "b", ""}}));
    EXPECT_EQ(diff.newSide(), (std::vector<Span>{{Kind::added, "", "b"}, {Kind::equal, "a", "a"}}));
    EXPECT_FALSE(diff.isUnchanged());
    EXPECT_TRUE(NameDiff("", "").isUnchanged());
    EXPECT_TRUE(NameDiff("same", "same").isUnchanged());
    EXPECT_FALSE(NameDiff("Same", "same").isUnchanged());
    const NameDiff replaced("abc", "xbz");
    EXPECT_EQ(replaced.oldSide(), replaced.newSide());
}

} // namespace
} // namespace morvane

#include "engine/transactions/MovePlanner.h"

#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>

#include <map>

namespace morvane {
namespace {

using Strings = std::vector<std::string>;

struct Planned {
    Strings steps; // "directory: from -> to", with "(t)" for temporary moves
    std::map<std::string, int> caseQuestions;
};

Planned plan(const std::vector<PlannedRename>& renames, bool caseSensitive) {
    Planned result;
    MovePlanner planner{[&](const std::string& directory) {
                            ++result.caseQuestions[directory];
                            return caseSensitive;
                        },
                        testing::numberedTemporaryNames()};
    for (const MoveStep& step : planner.plan(renames)) {
        result.steps.push_back(step.directory + ": " + step.from + " -> " + step.to + " #" +
                               std::to_string(step.operation) + (step.isTemporary ? " (t)" : ""));
    }
    return result;
}

TEST(MovePlanner, OrdersChainsCyclesAndCaseOnlyRenames) {
    struct Case {
        const char* name;
        bool caseSensitive;
        std::vector<PlannedRename> renames;
        Strings expected;
    };
    const Case cases[] = {
        {"nothing", true, {}, {}},
        {"single", true, {{"/d", "a", "b"}}, {"/d: a -> b #0"}},
        {"chain from its free end",
         true,
         {{"/d", "a", "b"}, {"/d", "b", "c"}},
         {"/d: b -> c #1", "/d: a -> b #0"}},
        {"three-cycle",
         true,
         {{"/d", "a", "b"}, {"/d", "b", "c"}, {"/d", "c", "a"}},
         {"/d: a -> .morvane-tmp-1 #0 (t)", "/d: c -> a #2", "/d: b -> c #1", "/d: .morvane-tmp-1 -> b #0"}},
        {"swap by keys on a case-insensitive folder",
         false,
         {{"/d", "a", "B"}, {"/d", "b", "A"}},
         {"/d: a -> .morvane-tmp-1 #0 (t)", "/d: b -> A #1", "/d: .morvane-tmp-1 -> B #0"}},
        {"case-only, case-sensitive", true, {{"/d", "a.txt", "A.txt"}}, {"/d: a.txt -> A.txt #0"}},
        {"case-only first, case-insensitive",
         false,
         {{"/d", "x", "y"}, {"/d", "a.txt", "A.txt"}},
         {"/d: a.txt -> .morvane-tmp-1 #1 (t)", "/d: x -> y #0", "/d: .morvane-tmp-1 -> A.txt #1"}},
        {"composition-only, case-insensitive",
         false,
         {{"/d", "e\u0301", "\u00c9"}},
         {"/d: e\u0301 -> .morvane-tmp-1 #0 (t)", "/d: .morvane-tmp-1 -> \u00c9 #0"}},
        {"deepest folder first, same names apart",
         true,
         {{"/x/y", "sub", "Sub2"}, {"/x/y/sub", "a", "b"}, {"/x/y", "a", "b"}, {"/x/y/sub", "b", "c"}},
         {"/x/y/sub: b -> c #3", "/x/y/sub: a -> b #1", "/x/y: sub -> Sub2 #0", "/x/y: a -> b #2"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plan(c.renames, c.caseSensitive).steps, c.expected) << c.name;
    }
}

std::string numbered(const char* prefix, std::size_t number) {
    return prefix + std::to_string(number);
}

TEST(MovePlanner, PlansLargeBatchesInTheSameOrder) {
    const std::size_t count = 10'000; // past the 4,096 items one summary word of the free set covers
    std::vector<PlannedRename> chain;
    Strings chainSteps;
    for (std::size_t i = 0; i < count; ++i) {
        chain.push_back({"/d", numbered("n", i), numbered("n", i + 1)});
    }
    for (std::size_t i = count; i-- > 0;) {
        chainSteps.push_back("/d: " + numbered("n", i) + " -> " + numbered("n", i + 1) + " #" +
                             std::to_string(i));
    }
    EXPECT_EQ(plan(chain, true).steps, chainSteps);

    std::vector<PlannedRename> swaps;
    Strings swapSteps;
    for (std::size_t pair = 0; pair < count / 2; ++pair) {
        const std::string a = numbered("S", 2 * pair);
        const std::string b = numbered("S", 2 * pair + 1);
        const std::string parked = numbered(".morvane-tmp-", pair + 1);
        swaps.push_back({"/d", a, b});
        swaps.push_back({"/d", b, a});
        swapSteps.push_back("/d: " + a + " -> " + parked + " #" + std::to_string(2 * pair) + " (t)");
        swapSteps.push_back("/d: " + b + " -> " + a + " #" + std::to_string(2 * pair + 1));
        swapSteps.push_back("/d: " + parked + " -> " + b + " #" + std::to_string(2 * pair));
    }
    EXPECT_EQ(plan(swaps, false).steps, swapSteps);
}

TEST(MovePlanner, AsksForCaseSensitivityOncePerFolder) {
    const auto planned =
        plan({{"/a", "1", "2"}, {"/b", "1", "2"}, {"/a", "3", "4"}, {"/a/", "5", "6"}}, true);
    EXPECT_EQ(planned.caseQuestions, (std::map<std::string, int>{{"/a", 1}, {"/a/", 1}, {"/b", 1}}));
}

} // namespace
} // namespace morvane

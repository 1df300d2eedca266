#include "engine/support/RegexCache.h"

#include "engine/rules/RegexRule.h"
#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>
#include <unicode/regex.h>

#include <atomic>
#include <thread>

namespace morvane {
namespace {

TEST(RegexCache, SharesOnePatternPerCaseOptionAndNeverKeepsFailures) {
    const auto sensitive = RegexCache::regex("img", false);
    EXPECT_EQ(RegexCache::regex("img", false), sensitive);
    const auto insensitive = RegexCache::regex("img", true);
    EXPECT_NE(insensitive, sensitive);
    EXPECT_EQ(insensitive->flags(), UREGEX_CASE_INSENSITIVE);
    const std::size_t size = RegexCache::size();
    EXPECT_THROW(RegexCache::regex("(unclosed", false), RegexCache::CompileError);
    EXPECT_EQ(RegexCache::size(), size);
}

TEST(RegexCache, EmptiesItselfWhenAnInsertionFindsItOverTheBound) {
    std::size_t before = 0;
    std::size_t after = 0;
    for (int i = 0; i < 300 && after >= before; ++i) {
        before = RegexCache::size();
        RegexCache::regex("bound-" + std::to_string(i), false);
        after = RegexCache::size();
    }
    EXPECT_EQ(before, 257u);
    EXPECT_EQ(after, 1u);
}

// Plans run on a background thread while the editor compiles patterns and the
// user switches language; the sanitizer build watches the sharing.
TEST(RegexCache, ServesSeveralThreadsAtOnce) {
    std::atomic<int> wrong{0};
    std::atomic<bool> done{false};
    std::thread switcher([&] {
        for (int i = 0; !done; ++i) {
            Localization::setLanguage(i % 2 ? "es" : "en");
        }
    });
    testing::inParallel(4, [&](int t) {
        const RegexRule swap{"(\\w+)-(\\w+)", "$2-$1", t % 2 == 0};
        for (int i = 0; i < 400; ++i) {
            // New patterns keep the cache filling up and emptying while other
            // threads match with patterns taken from it.
            const std::string churn = "n" + std::to_string(t * 1000 + i);
            wrong += testing::applied(swap, "one-two.txt") != "two-one.txt";
            wrong += testing::applied(RegexRule{churn, "x", false}, "a_" + churn) != "a_x";
            const auto reason = RegexRule::diagnose("(abc", false);
            wrong +=
                reason != "Missing closing parenthesis" && reason != "Falta el par\u00E9ntesis de cierre";
        }
    });
    done = true;
    switcher.join();
    Localization::setLanguage("en");
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace morvane

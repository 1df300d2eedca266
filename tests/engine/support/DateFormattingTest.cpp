#include "engine/support/DateFormatting.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

namespace morvane {
namespace {

TEST(DateFormatting, EmptiesItselfWhenAnInsertionFindsItOverTheBound) {
    std::size_t before = 0;
    std::size_t after = 0;
    for (int i = 0; i < 100 && after >= before; ++i) {
        before = DateFormatting::size();
        const std::string tag = "bound-" + std::to_string(i);
        EXPECT_EQ(DateFormatting::string(testing::utc(2024, 3, 5), "'" + tag + "' yyyy", "UTC"),
                  tag + " 2024");
        after = DateFormatting::size();
    }
    EXPECT_EQ(before, 65u);
    EXPECT_EQ(after, 1u);
}

TEST(DateFormatting, ServesSeveralThreadsAtOnce) {
    const Date date = testing::utc(2024, 3, 5, 23, 30);
    const std::tuple<const char*, const char*, const char*> expectations[] = {
        {"Asia/Tokyo", "yyyy-MM-dd HH:mm", "2024-03-06 08:30"},
        {"America/New_York", "EEE d MMM", "Tue 5 Mar"},
        {"Europe/Madrid", "yyyyMMdd'T'HH", "20240306T00"},
    };
    std::atomic<int> wrong{0};
    std::atomic<bool> done{false};
    // Refreshing the system zone empties the cache under the workers' feet.
    std::thread refresher([&] {
        while (!done) {
            DateFormatting::refreshSystemZone();
        }
    });
    testing::inParallel(4, [&](int t) {
        for (int i = 0; i < 300; ++i) {
            const auto& [zone, pattern, text] = expectations[(t + i) % 3];
            wrong += DateFormatting::string(date, pattern, zone) != text;
            const std::string churn = std::to_string(t * 1000 + i);
            wrong += DateFormatting::string(date, "'" + churn + "' yy", "UTC") != churn + " 24";
        }
    });
    done = true;
    refresher.join();
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace morvane

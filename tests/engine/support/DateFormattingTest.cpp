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

// Each step formats right after the one before it with the same zone and
// pattern, so a text kept from the previous step is reused only if it still
// holds: across local midnights, zone changes, and patterns with clock fields.
TEST(DateFormatting, ConsecutiveDatesGetTheirOwnLocalDayAndTime) {
    using testing::utc;
    const std::tuple<const char*, const char*, Date, const char*> steps[] = {
        // Madrid moves its clocks forward at 01:00 UTC on 31 March 2024 and
        // back at 01:00 UTC on 27 October 2024.
        {"Europe/Madrid", "yyyy-MM-dd", utc(2024, 3, 30, 23, 0), "2024-03-31"},
        {"Europe/Madrid", "yyyy-MM-dd", utc(2024, 3, 31, 21, 59), "2024-03-31"},
        {"Europe/Madrid", "yyyy-MM-dd", utc(2024, 3, 31, 22, 0), "2024-04-01"},
        {"Europe/Madrid", "yyyy-MM-dd", utc(2024, 10, 26, 22, 0), "2024-10-27"},
        {"Europe/Madrid", "yyyy-MM-dd", utc(2024, 10, 27, 22, 59), "2024-10-27"},
        {"Europe/Madrid", "yyyy-MM-dd", utc(2024, 10, 27, 23, 0), "2024-10-28"},
        {"Asia/Tokyo", "yyyy-MM-dd", utc(2024, 3, 10, 14, 59), "2024-03-10"},
        {"Asia/Tokyo", "yyyy-MM-dd", utc(2024, 3, 10, 15, 0), "2024-03-11"},
        {"Asia/Tokyo", "yyyy-MM-dd", utc(2024, 3, 10, 0, 0), "2024-03-10"},
        {"UTC", "yyyy-MM-dd", utc(1969, 12, 31, 23, 59), "1969-12-31"},
        {"UTC", "yyyy-MM-dd", utc(1970, 1, 1, 0, 0), "1970-01-01"},
        {"UTC", "EEE d MMM", utc(2024, 3, 5, 1, 0), "Tue 5 Mar"},
        {"UTC", "EEE d MMM", utc(2024, 3, 6, 1, 0), "Wed 6 Mar"},
        {"UTC", "yyyy-MM-dd HH:mm", utc(2024, 3, 5, 10, 0), "2024-03-05 10:00"},
        {"UTC", "yyyy-MM-dd HH:mm", utc(2024, 3, 5, 10, 1), "2024-03-05 10:01"},
        {"UTC", "yyyyMMdd'h'", utc(2024, 3, 5, 10, 0), "20240305h"},
        {"UTC", "yyyyMMdd'h'", utc(2024, 3, 5, 23, 0), "20240305h"},
        // A doubled apostrophe is a literal one, not the start of quoted text.
        {"UTC", "yyyyMMdd''HH", utc(2024, 3, 5, 10, 0), "20240305'10"},
        {"UTC", "yyyyMMdd''HH", utc(2024, 3, 5, 11, 0), "20240305'11"},
        {"UTC", "yyyy 'at' a", utc(2024, 3, 5, 10, 0), "2024 at AM"},
        {"UTC", "yyyy 'at' a", utc(2024, 3, 5, 13, 0), "2024 at PM"},
        // Milliseconds are the date's own, not a nanosecond short of them.
        {"UTC", "HH:mm:ss.SSS", utc(2024, 3, 5, 13, 0) + std::chrono::milliseconds(42), "13:00:00.042"},
        {"UTC", "HH:mm:ss.SSS", utc(2024, 3, 5, 13, 0) + std::chrono::nanoseconds(42'999'999),
         "13:00:00.042"},
    };
    for (const auto& [zone, pattern, date, expected] : steps) {
        EXPECT_EQ(DateFormatting::string(date, pattern, zone), expected) << zone << " " << pattern;
    }
}

TEST(DateFormatting, ALetterThatIsNoFieldWritesNothingAndTheRestIsWritten) {
    const Date date = testing::utc(2024, 12, 5, 10, 30);
    const std::pair<const char*, const char*> cases[] = {
        {"dd-t-MM", "05--12"},
        {"yyyyTMMdd", "20241205"},
        {"yyyy-MM-dd'T'HH", "2024-12-05T10"}, // quoted, a letter is text
        {"tnpJ", ""},
    };
    for (const auto& [pattern, expected] : cases) {
        EXPECT_EQ(DateFormatting::string(date, pattern, "UTC"), expected) << pattern;
    }
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
    // The system zone is detected again and again under the workers' feet.
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

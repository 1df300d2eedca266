#include "engine/rules/DateRule.h"

#include "engine/support/DateFormatting.h"
#include "engine/testing/RuleTesting.h"
#include "engine/testing/TimeZoneScope.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvane {
namespace {

using Source = DateRule::Source;
using Position = DateRule::Position;

const FileItem kPhoto("photo.jpg", "/d", testing::utc(2023, 12, 31, 8), testing::utc(2024, 3, 5, 23, 30), 0,
                      false, true);

DateRule inZone(std::optional<std::string> zone, const char* format = "yyyy-MM-dd",
                Source source = Source::modified, Position position = Position::before,
                const char* separator = "_") {
    return DateRule{source, format, position, separator, std::move(zone)};
}

TEST(DateRule, WritesTheChosenDateInTheChosenZone) {
    const std::tuple<DateRule, const char*> cases[] = {
        {inZone("UTC"), "2024-03-05_photo.jpg"},
        {inZone("Asia/Tokyo"), "2024-03-06_photo.jpg"},
        {inZone("UTC", "yyyyMMdd", Source::modified, Position::after, " "), "photo 20240305.jpg"},
        {inZone("UTC", "yyyy-MM-dd", Source::created), "2023-12-31_photo.jpg"},
        {inZone("UTC", "'week' w, HH:mm", Source::modified, Position::before, ""), "week 10, 23:30photo.jpg"},
        {inZone("UTC", "yyyy/MM"), "2024/03_photo.jpg"},
        {inZone("UTC", "", Source::modified, Position::after), "photo_.jpg"},
    };
    for (const auto& [rule, expected] : cases) {
        EXPECT_EQ(testing::applied(rule, "photo.jpg", 0, kPhoto), expected);
    }
    // Month names stay English whatever the interface language.
    const testing::LanguageScope spanish("es");
    EXPECT_EQ(testing::applied(inZone("UTC", "MMM"), "a", 0, kPhoto), "Mar_a");
}

TEST(DateRule, AnAbsentOrUnknownZoneMeansTheSystemZone) {
    const testing::TimeZoneScope tokyo("Asia/Tokyo");
    EXPECT_EQ(DateFormatting::systemZone(), "Asia/Tokyo");
    for (const auto& zone : {std::optional<std::string>{}, std::optional<std::string>{"Mars/Olympus"},
                             std::optional<std::string>{"Etc/Unknown"}}) {
        EXPECT_EQ(testing::applied(inZone(zone), "photo.jpg", 0, kPhoto), "2024-03-06_photo.jpg");
    }
}

} // namespace
} // namespace morvane

#include "engine/support/SystemTimeZone.h"

#include "engine/core/RenamePipeline.h"
#include "engine/rules/DateRule.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/testing/RuleTesting.h"
#include "engine/testing/TimeZoneScope.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <tuple>

namespace morvane {
namespace {

using Settings = SystemTimeZone::Settings;

constexpr const char* kZones = "/usr/share/zoneinfo";

bool haveZoneFiles() {
    return std::filesystem::exists(std::string(kZones) + "/Asia/Tokyo");
}

Settings withTz(const char* tz) {
    Settings settings;
    settings.tz = tz;
    return settings;
}

Settings withLocaltime(const std::string& file) {
    Settings settings;
    settings.localtimeFile = file;
    return settings;
}

TEST(SystemTimeZone, NamesTheZoneTheWayTheCLibraryFindsIt) {
    if (!haveZoneFiles()) {
        GTEST_SKIP() << "no zone database in " << kZones;
    }
    testing::TempFolder dir;
    testing::makeLink(std::string(kZones) + "/America/Sao_Paulo", dir / "linked");
    std::filesystem::copy_file(std::string(kZones) + "/Asia/Tokyo", dir / "copied");
    const std::tuple<Settings, std::optional<std::string>, std::string> cases[] = {
        {withTz("/usr/share/zoneinfo/Asia/Tokyo"), "Asia/Tokyo", "Asia/Tokyo"},
        {withTz(":/usr/share/zoneinfo/posix/Asia/Tokyo"), "Asia/Tokyo", "Asia/Tokyo"},
        {withTz(":Europe/Madrid"), "Europe/Madrid", "Europe/Madrid"},
        {withTz(""), "UTC", "UTC"},
        {withTz("IST-5:30"), std::nullopt, "IST-5:30"},
        {withTz("CET-1CEST,M3.5.0,M10.5.0/3"), std::nullopt, "CET-1CEST,M3.5.0,M10.5.0/3"},
        // Without TZ: where the system's zone file links, or else its offsets.
        {withLocaltime(dir / "linked"), "America/Sao_Paulo", "America/Sao_Paulo"},
        {withLocaltime(dir / "copied"), std::nullopt, dir / "copied"},
        {withLocaltime(dir / "missing"), "UTC", "UTC"},
    };
    for (const auto& [settings, identifier, description] : cases) {
        const SystemTimeZone zone = SystemTimeZone::detect(settings);
        EXPECT_EQ(zone.identifier, identifier) << description;
        EXPECT_EQ(zone.description, description);
    }
}

TEST(SystemTimeZone, ItsSourceChangesWithTheSettingAndTheLink) {
    testing::TempFolder dir;
    testing::makeLink("/zones/A", dir / "localtime");
    const Settings linked = withLocaltime(dir / "localtime");
    const std::string before = SystemTimeZone::sourceOf(linked);
    EXPECT_EQ(SystemTimeZone::sourceOf(linked), before);
    std::filesystem::remove(dir / "localtime");
    testing::makeLink("/zones/B", dir / "localtime");
    EXPECT_NE(SystemTimeZone::sourceOf(linked), before);
    EXPECT_NE(SystemTimeZone::sourceOf(withTz("UTC0")), SystemTimeZone::sourceOf(withTz("UTC1")));
}

// What the date command prints for `date` under the current TZ.
std::string cLibraryTime(Date date) {
    const auto time =
        static_cast<std::time_t>(std::chrono::floor<std::chrono::seconds>(date).time_since_epoch().count());
    std::tm local{};
    ::localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// Each plan reads the zone afresh: TZ changes between plans as it would in a
// window left open, and nothing tells the engine.
TEST(SystemTimeZone, PlansWriteLocalTimesAsTheDateCommandShowsThem) {
    const testing::TimeZoneScope scope("UTC");
    const RenamePipeline pipeline({makeStep(DateRule(DateRule::Source::modified, "yyyy-MM-dd HH:mm",
                                                     DateRule::Position::after, " ", std::nullopt))});
    const Date winter = testing::utc(2024, 1, 15, 23, 30);
    const Date summer = testing::utc(2024, 7, 1, 12, 0);
    const auto planned = [&](Date date) {
        const FileItem item("a", "/d", date, date, 0, false, true);
        return pipeline.plan({item}).entries[0].newName;
    };
    std::vector<std::tuple<std::string, Date, std::string>> cases{
        {"IST-5:30", winter, "a 2024-01-16 05:00"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", winter, "a 2024-01-16 00:30"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", summer, "a 2024-07-01 14:00"},
        {"<-0330>3:30", summer, "a 2024-07-01 08:30"},
        {"", summer, "a 2024-07-01 12:00"},
    };
    if (haveZoneFiles()) {
        cases.emplace_back(":/usr/share/zoneinfo/Asia/Tokyo", winter, "a 2024-01-16 08:30");
        cases.emplace_back("/usr/share/zoneinfo/America/St_Johns", summer, "a 2024-07-01 09:30");
        cases.emplace_back("Pacific/Kiritimati", winter, "a 2024-01-16 13:30");
    }
    for (const auto& [tz, date, expected] : cases) {
        testing::TimeZoneScope::set(tz);
        EXPECT_EQ(planned(date), expected) << tz;
        EXPECT_EQ(planned(date), "a " + cLibraryTime(date)) << tz;
    }
}

} // namespace
} // namespace morvane

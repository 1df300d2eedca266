#include "engine/rules/DateRule.h"

#include "engine/core/MissingMetadataError.h"
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

FileMetadata takenAt(int y, int mo, int d, int h, int mi, int ms, std::optional<std::int32_t> offset) {
    FileMetadata metadata;
    metadata.taken = CaptureDate{*LocalDateTime::valid(y, mo, d, h, mi, 0, ms), offset};
    return metadata;
}

// A date with its offset is a moment, written in the rule's zone; one
// without is the time the zone's clocks showed.
TEST(DateRule, TheCaptureDateIsAMomentWhenItsOffsetIsKnown) {
    const char* format = "yyyy-MM-dd HH-mm-ss.SSS";
    const std::tuple<FileMetadata, const char*, const char*> cases[] = {
        {takenAt(2024, 3, 5, 23, 30, 0, std::nullopt), "UTC", "2024-03-05 23-30-00.000"},
        {takenAt(2024, 3, 5, 23, 30, 0, std::nullopt), "Asia/Tokyo", "2024-03-05 23-30-00.000"},
        {takenAt(2024, 3, 5, 23, 30, 42, 540), "UTC", "2024-03-05 14-30-00.042"},
        {takenAt(2024, 3, 5, 23, 30, 0, -300), "Asia/Tokyo", "2024-03-06 13-30-00.000"},
        // A time the clocks skipped is read with the offset before the change.
        {takenAt(2024, 3, 31, 2, 30, 0, std::nullopt), "Europe/Madrid", "2024-03-31 03-30-00.000"},
    };
    for (const auto& [metadata, zone, expected] : cases) {
        const DateRule rule(Source::taken, format, Position::after, " ", zone);
        EXPECT_EQ(testing::appliedWith(rule, "IMG_1.jpg", &metadata, kPhoto),
                  "IMG_1 " + std::string(expected) + ".jpg")
            << zone;
    }
}

TEST(DateRule, AFileWithoutACaptureDateFailsForThatItemSayingWhy) {
    const DateRule rule(Source::taken, "yyyy", Position::before, "_", "UTC");
    const FileMetadata nothing;
    FileMetadata damaged;
    damaged.photoProblem = "Failed to read image data";
    const std::tuple<const FileMetadata*, const char*> cases[] = {
        {nullptr, "\u201Cphoto.jpg\u201D has no capture date"},
        {&nothing, "\u201Cphoto.jpg\u201D has no capture date"},
        {&damaged, "\u201Cphoto.jpg\u201D could not be read: Failed to read image data"},
    };
    for (const auto& [metadata, message] : cases) {
        try {
            testing::appliedWith(rule, "photo.jpg", metadata, kPhoto);
            ADD_FAILURE() << "no failure for " << message;
        } catch (const MissingMetadataError& error) {
            EXPECT_EQ(error.message(), message);
        }
    }
    EXPECT_EQ(rule.needsDetails(), (ItemDetails{false, true, false}));
    EXPECT_EQ(DateRule().needsDetails(), (ItemDetails{true, false, false}));
}

} // namespace
} // namespace morvane

#include "engine/metadata/CaptureDateText.h"

#include <gtest/gtest.h>

#include <tuple>

namespace morvane {
namespace {

CaptureDate at(int y, int mo, int d, int h, int mi, int s, int ms, std::optional<std::int32_t> offset) {
    return CaptureDate{*LocalDateTime::valid(y, mo, d, h, mi, s, ms), offset};
}

TEST(CaptureDateText, ReadsExifDatesWithTheirFractionAndOffset) {
    using namespace std::string_view_literals;
    using Case = std::tuple<std::string_view, std::string_view, std::string_view, std::optional<CaptureDate>>;
    const Case cases[] = {
        {"2024:03:05 10:11:12", "", "", at(2024, 3, 5, 10, 11, 12, 0, std::nullopt)},
        {"2024:03:05 10:11:12", "042", "+09:00", at(2024, 3, 5, 10, 11, 12, 42, 540)},
        // A fraction is a fraction: "5" is half a second, digits past the third are dropped.
        {"2024:03:05 10:11:12", "5", "-05:30", at(2024, 3, 5, 10, 11, 12, 500, -330)},
        {"2024:03:05 10:11:12", "123456 ", "", at(2024, 3, 5, 10, 11, 12, 123, std::nullopt)},
        // Writers that use dashes, trailing blanks and NULs.
        {"2024-03-05 10:11:12\0"sv, "x1", "+0900", at(2024, 3, 5, 10, 11, 12, 0, 540)},
        {"2024:02:29 23:59:60", "", "Z", at(2024, 2, 29, 23, 59, 60, 0, 0)},
        // An offset that is none is left out, the date kept.
        {"2024:03:05 10:11:12", "", "+25:00", at(2024, 3, 5, 10, 11, 12, 0, std::nullopt)},
        // Clocks never set, and other things that are no dates.
        {"0000:00:00 00:00:00", "", "", std::nullopt},
        {"    :  :     :  :  ", "", "", std::nullopt},
        {"2023:02:29 10:11:12", "", "", std::nullopt},
        {"2024:13:05 10:11:12", "", "", std::nullopt},
        {"2024:03:05 24:00:00", "", "", std::nullopt},
        {"2024:03:05", "", "", std::nullopt},
        // Years no camera's clock showed, which the engine's dates cannot hold.
        {"3024:03:05 10:11:12", "", "", std::nullopt},
        {"1600:03:05 10:11:12", "", "", std::nullopt},
        {"2024:03:05 10:11:12 extra", "", "", std::nullopt},
        {"", "", "", std::nullopt},
    };
    for (const auto& [dateTime, fraction, offset, expected] : cases) {
        EXPECT_EQ(CaptureDateText::fromExif(dateTime, fraction, offset), expected) << dateTime;
    }
}

TEST(CaptureDateText, ReadsXmpDates) {
    using Case = std::tuple<const char*, std::optional<CaptureDate>>;
    const Case cases[] = {
        {"2023-07-01T08:09:10.25+02:00", at(2023, 7, 1, 8, 9, 10, 250, 120)},
        {"2023-07-01T08:09:10Z", at(2023, 7, 1, 8, 9, 10, 0, 0)},
        {"2023-07-01T08:09", at(2023, 7, 1, 8, 9, 0, 0, std::nullopt)},
        {"2023-07-01", at(2023, 7, 1, 0, 0, 0, 0, std::nullopt)},
        {"2023-07", std::nullopt},
        {"2023-07-01T08", std::nullopt},
        {"2023-07-01T08:09:10+2", std::nullopt},
        {"2023-02-30", std::nullopt},
        {"9999-12-31T23:59:59Z", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(CaptureDateText::fromXmp(text), expected) << text;
    }
}

TEST(CaptureDateText, ReadsQuickTimeSecondsAsUtc) {
    EXPECT_EQ(CaptureDateText::fromQuickTime(2'082'844'800), at(1970, 1, 1, 0, 0, 0, 0, 0));
    EXPECT_EQ(CaptureDateText::fromQuickTime(2'082'844'800ULL + 1'709'681'472ULL),
              at(2024, 3, 5, 23, 31, 12, 0, 0));
    EXPECT_EQ(CaptureDateText::fromQuickTime(86400 * 59), at(1904, 2, 29, 0, 0, 0, 0, 0));
    EXPECT_EQ(CaptureDateText::fromQuickTime(0), std::nullopt);
    EXPECT_EQ(CaptureDateText::fromQuickTime(~std::uint64_t{0}), std::nullopt);
    EXPECT_EQ(CaptureDateText::fromQuickTime(2'082'844'800ULL + 33'266'542'279ULL), std::nullopt); // 3024
}

} // namespace
} // namespace morvane

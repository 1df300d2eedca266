#pragma once

#include <cstdint>
#include <optional>

namespace morvane {

// A date and time of day as a clock showed it, in no particular zone: what a
// camera writes into a photo. Gregorian calendar, to the millisecond.
struct LocalDateTime {
    std::int32_t year = 1970;
    std::int32_t month = 1; // 1-12
    std::int32_t day = 1;   // 1-31
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t millisecond = 0;

    // Nothing unless every field is within its range and the day exists in
    // its month (leap years included). Seconds go up to 60, for a leap second.
    static std::optional<LocalDateTime> valid(std::int32_t year, std::int32_t month, std::int32_t day,
                                              std::int32_t hour, std::int32_t minute, std::int32_t second,
                                              std::int32_t millisecond = 0);

    // Milliseconds since 1970-01-01 00:00 as if this were a time in UTC.
    std::int64_t millisecondsAsUtc() const;

    bool operator==(const LocalDateTime&) const = default;
};

} // namespace morvane

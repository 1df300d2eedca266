#pragma once

#include "engine/support/Date.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The zone the C library shows local time in, which is what the date command
// prints: the TZ variable (a zone name, the path of a zone file with or
// without a leading colon, or a POSIX rule such as "CET-1CEST,M3.5.0,M10.5.0/3"),
// else the system's /etc/localtime. ICU's own detection misses much of this,
// so the zone is worked out here: by its name in the zone database where there
// is one ICU knows, else by the C library's own offset at each instant.
struct SystemTimeZone {
    // Where the zone comes from; tests pass their own.
    struct Settings {
        std::optional<std::string> tz;
        std::string localtimeFile = "/etc/localtime";
        std::string zoneDirectory = "/usr/share/zoneinfo";

        // The process's own: its TZ and TZDIR variables.
        static Settings ofProcess();
    };

    // The identifier ICU knows the zone by; absent when it knows none, and
    // local times then follow offsetAt.
    std::optional<std::string> identifier;
    // The identifier, or else the C library's setting as given ("IST-5:30").
    std::string description;

    static SystemTimeZone detect(const Settings& settings);

    // A short text that changes whenever the zone may have: the TZ setting,
    // and where the zone file it names (or /etc/localtime) leads. Reading it
    // costs a system call or two; detecting costs more.
    static std::string sourceOf(const Settings& settings);

    // Seconds east of UTC that the C library applies at `date` (0 when it
    // cannot tell). Follows the process's TZ as of the last detect.
    static std::int64_t offsetAt(Date date);

    // Whether ICU knows `identifier` as a zone ("UTC", "Europe/Madrid").
    static bool isKnownZone(std::string_view identifier);
};

} // namespace morvane

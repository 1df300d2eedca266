#pragma once

#include "engine/support/Date.h"
#include "engine/support/LocalDateTime.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Writes dates into names with date-field patterns ("yyyy-MM-dd", "MMM"), in
// the fixed "en_US_POSIX" locale and the Gregorian calendar, so month names and
// digits never depend on the user's language. Formatters are costly to build,
// so they are cached process-wide per (zone, pattern) under one lock, which also
// covers every formatting call: ICU formatters must not format concurrently.
// Each keeps the last text it wrote, reused while the date stays on the same
// local day (for patterns with no clock fields) or at the same instant. A
// system zone that ICU knows by no name is written at the C library's offset
// for each date, through one formatter per offset.
class DateFormatting {
public:
    // Above this many formatters the next insertion empties the cache first.
    static constexpr std::size_t maxEntries = 64;

    // `zone` is an IANA identifier ("UTC", "Europe/Madrid"); when it is absent
    // or names no known zone, the system's zone is used (see SystemTimeZone).
    // The pattern is used as given, except that a letter that is no date field
    // writes nothing: "dd-t-MM" gives "05--12".
    static std::string string(Date date, std::string_view pattern, const std::optional<std::string>& zone);

    // The instant at which clocks in `zone` (resolved as `string` resolves
    // it) showed `local`, so that writing it in the same zone gives `local`
    // back. A time the zone skips or shows twice (at a change to or from
    // summer time) is read with the offset in force just before the change.
    static Date instant(const LocalDateTime& local, const std::optional<std::string>& zone);

    // The identifier of the system's zone or, where ICU knows none, the C
    // library's own setting (a POSIX rule such as "IST-5:30").
    static std::string systemZone();
    // Makes the next date written in the system's zone read the zone's setting
    // again first (the TZ variable and where the zone file leads: a system call
    // or two), and detect the zone anew if that changed. Each plan starts so,
    // and a window left open across a change of zone shows fresh names.
    static void recheckSystemZone();
    // Detects the system's zone again, now.
    static void refreshSystemZone();

    static std::size_t size();
};

} // namespace morvane

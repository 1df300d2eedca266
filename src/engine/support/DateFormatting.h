#pragma once

#include "engine/support/Date.h"

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
// local day (for patterns with no clock fields) or at the same instant.
class DateFormatting {
public:
    // Above this many formatters the next insertion empties the cache first.
    static constexpr std::size_t maxEntries = 64;

    // `zone` is an IANA identifier ("UTC", "Europe/Madrid"); when it is absent
    // or names no known zone, the system's zone is used. The pattern is used as
    // given: letters that are not date fields write nothing.
    static std::string string(Date date, std::string_view pattern, const std::optional<std::string>& zone);

    // The identifier of the system's zone, detected on first use.
    static std::string systemZone();
    // Detects the system's zone again (after the user changed it, say) and
    // drops every formatter, since some may have been made for the old zone.
    static void refreshSystemZone();

    static std::size_t size();
};

} // namespace morvane

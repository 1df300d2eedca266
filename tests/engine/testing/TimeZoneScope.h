#pragma once

#include "engine/support/DateFormatting.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace morvane::testing {

// Sets the process's TZ variable for one test and puts the previous value
// back (absent means unset). The engine sees the change at once; `set` changes
// it again the way another program would, seen at the next plan only.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const std::optional<std::string>& tz) {
        if (const char* previous = std::getenv("TZ")) {
            previous_ = previous;
        }
        set(tz);
        DateFormatting::refreshSystemZone();
    }
    ~TimeZoneScope() {
        set(previous_);
        DateFormatting::refreshSystemZone();
    }
    TimeZoneScope(const TimeZoneScope&) = delete;
    TimeZoneScope& operator=(const TimeZoneScope&) = delete;

    static void set(const std::optional<std::string>& tz) {
        tz ? ::setenv("TZ", tz->c_str(), 1) : ::unsetenv("TZ");
    }

private:
    std::optional<std::string> previous_;
};

} // namespace morvane::testing

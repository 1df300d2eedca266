#pragma once

#include "engine/support/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Dates as stored in the engine's files: UTC, whole seconds.
class IsoDate {
public:
    // ISO 8601 internet date-time with the "Z" designator, e.g. 2026-12-05T07:15:09Z.
    // The fraction of a second is dropped (rounded down).
    static std::string format(Date date);
    // Reads the form `format` writes; a numeric offset ("+01:00") in place of
    // "Z" is accepted too. A fraction of a second or anything malformed gives
    // no value.
    static std::optional<Date> parse(std::string_view text);
    // "yyyyMMdd-HHmmss" in UTC, for file names.
    static std::string compactStamp(Date date);
};

} // namespace morvane

#pragma once

#include "engine/metadata/FileMetadata.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

// The capture date out of the texts photo metadata holds it in. Each gives
// nothing for a text that is no date, such as the blanks and zeros cameras
// write when their clock was never set.
namespace CaptureDateText {

// EXIF: "2024:03:05 10:11:12" (dashes are taken for the colons of the date
// too), with the sub-second digits ("123" or "5", a fraction of a second)
// and the offset ("+09:00") the EXIF fields beside it hold, each optional.
std::optional<CaptureDate> fromExif(std::string_view dateTime, std::string_view subSeconds,
                                    std::string_view offset);

// XMP: ISO 8601, "2024-03-05T10:11:12.345+09:00", with or without seconds,
// fraction and zone ("Z" is UTC); a date alone is the start of its day.
std::optional<CaptureDate> fromXmp(std::string_view text);

// A QuickTime or MP4 creation time: seconds since 1904-01-01 in UTC; 0 is unset.
std::optional<CaptureDate> fromQuickTime(std::uint64_t seconds);

} // namespace CaptureDateText

} // namespace morvane

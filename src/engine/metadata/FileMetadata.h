#pragma once

#include "engine/support/Date.h"
#include "engine/support/LocalDateTime.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// When a photo (or video) was taken: the time its camera's clock showed and,
// when the file records it, that clock's offset from UTC.
struct CaptureDate {
    LocalDateTime local;
    std::optional<std::int32_t> utcOffsetMinutes; // east of UTC

    // The moment: fixed by the offset when there is one, else the time as
    // clocks in `zone` showed it (see DateFormatting::instant).
    Date instant(const std::optional<std::string>& zone) const;

    bool operator==(const CaptureDate&) const = default;
};

// What was read of one file's contents for the rules: a photo's metadata
// and a music file's tags. Texts are UTF-8 as the file gave them (trimmed);
// an empty text or an absent number is a value the file does not have.
struct FileMetadata {
    std::optional<CaptureDate> taken;
    std::string make;                   // of the camera
    std::string model;                  // of the camera
    std::optional<std::int64_t> width;  // in pixels
    std::optional<std::int64_t> height; // in pixels

    std::string artist;
    std::string album;
    std::string title;
    std::string genre;
    std::optional<std::int64_t> track;
    std::optional<std::int64_t> disc;
    std::optional<std::int64_t> year;

    // Why the photo metadata, or the tags, could not be read (the system's
    // or the library's words): a file that cannot be opened, or one whose
    // metadata is damaged. Empty when reading went well, also when the file
    // simply holds no such metadata (a text file asked for its capture date).
    std::string photoProblem;
    std::string audioProblem;

    // Make and model as one name, without the make twice: "Canon" and
    // "Canon EOS R5" give "Canon EOS R5", "NIKON CORPORATION" and "NIKON
    // D750" give "NIKON D750", "Apple" and "iPhone 12" give "Apple iPhone 12".
    std::string camera() const;

    bool operator==(const FileMetadata&) const = default;
};

} // namespace morvane

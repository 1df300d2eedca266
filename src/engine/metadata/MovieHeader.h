#pragma once

#include "engine/metadata/FileMetadata.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// When a QuickTime or MP4 video (as phones and cameras record them) was
// made: the creation time of its movie header. Read here rather than by the
// photo library, whose video readers can loop forever on damaged files: only
// box headers are followed, at most a fixed number of them, and only the
// movie box (never the media data) is read, up to a bound.
class MovieHeader {
public:
    // Top-level boxes followed before giving up.
    static constexpr int maxBoxes = 256;
    // A movie box larger than this is not read (real ones hold kilobytes).
    static constexpr std::uint64_t maxMovieBox = 16 * 1024 * 1024;

    // Whether `head` (a file's first bytes) starts like a QuickTime or ISO
    // media file: a box of a type such files begin with.
    static bool looksLikeMovie(std::string_view head);

    // Reads `length` bytes at `offset` into the string; fewer at the end of
    // the file, none on failure.
    using ReadAt = std::function<std::string(std::uint64_t offset, std::size_t length)>;

    // The creation time of the file of `size` bytes that `read` reads from;
    // nothing without one, or when the boxes do not add up.
    static std::optional<CaptureDate> creationTime(std::uint64_t size, const ReadAt& read);
    // The same for the file at `path` (a regular file; anything else gives nothing).
    static std::optional<CaptureDate> creationTime(const std::string& path);
};

} // namespace morvane

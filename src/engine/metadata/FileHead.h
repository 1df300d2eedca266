#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The beginning of a file, as much as its photo metadata needs and never
// more than a fixed bound: metadata libraries are handed these bytes rather
// than the file, so that whatever a damaged or hostile file claims about its
// own layout, nothing beyond the bound is read or allocated for it.
class FileHead {
public:
    // What is read first: the metadata of a JPEG without a thumbnail fits,
    // a longer one is read on to where its segments end, and the rest, image
    // data of often megabytes, is never read.
    static constexpr std::size_t firstRead = 16 * 1024;
    // A JPEG's metadata segments all come before its image data, which is
    // not needed; raw, PNG, WebP and HEIF files may hold metadata further in.
    static constexpr std::size_t maxJpeg = 16 * 1024 * 1024;
    static constexpr std::size_t maxOther = 32 * 1024 * 1024;

    // The file's first bytes, or nothing with the reason in `problem`. A
    // path that is no regular file (a folder, a pipe) is never opened for
    // reading, so it cannot block; it gives nothing and no problem.
    static std::optional<std::string> read(const std::string& path, std::string& problem);

    // Of a JPEG's bytes: how many run up to and including the start of its
    // image data (the SOS marker and its length), following the segment
    // lengths; nothing when `data` is no JPEG, or the count when that point
    // lies beyond `data`.
    static std::optional<std::size_t> jpegMetadataLength(std::string_view data);
};

} // namespace morvane

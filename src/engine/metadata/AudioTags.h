#pragma once

#include "engine/metadata/FileMetadata.h"

#include <string>
#include <string_view>

namespace morvane {

// A music file's tags, read with TagLib: ID3v1 and ID3v2 (MP3, WAV, AIFF),
// Vorbis comments (FLAC, Ogg Vorbis, Opus), MP4 atoms (M4A) and the other
// formats the library knows. Only this file and its implementation deal
// with the library.
namespace AudioTags {

// Fills the audio fields of `into` from the file at `path`, which must be a
// regular file. A file of no format the library knows fills nothing; one it
// recognises but cannot read sets `audioProblem`. Never throws.
void read(const std::string& path, FileMetadata& into) noexcept;
// The same from a file's bytes held in memory.
void readBytes(std::string_view data, FileMetadata& into) noexcept;

} // namespace AudioTags

} // namespace morvane

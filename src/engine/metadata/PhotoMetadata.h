#pragma once

#include "engine/metadata/FileMetadata.h"

#include <string_view>

namespace morvane {

// A photo's metadata, read with Exiv2 from the file's first bytes (see
// FileHead): EXIF and XMP, in the photo formats the library knows (JPEG,
// TIFF and raw formats, PNG, WebP, HEIF and AVIF, JPEG 2000, Photoshop).
// Only this file and its implementation deal with the library.
namespace PhotoMetadata {

// Fills the photo fields of `into` from `data`. Bytes of no format the
// library knows fill nothing; damaged metadata fills what could be read
// and sets `photoProblem`. Never throws.
void read(std::string_view data, FileMetadata& into) noexcept;

} // namespace PhotoMetadata

} // namespace morvane

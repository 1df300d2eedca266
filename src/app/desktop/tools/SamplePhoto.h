#pragma once

#include <QString>
#include <cstddef>

namespace morvane::app {

// Writes a photo as a camera does, as far as its metadata goes: a JPEG whose
// EXIF names the camera and when it was taken ("2024:07:14 09:12:33"), padded
// to `size` bytes. For the screenshots' sample folder, so the rules that read
// photos show what they read.
bool writeSamplePhoto(const QString& path, const char* make, const char* model, const char* taken,
                      std::size_t size);

} // namespace morvane::app

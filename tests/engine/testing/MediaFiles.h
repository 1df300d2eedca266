#pragma once

#include <map>
#include <string>

namespace morvane::testing {

// Small photos and music files, made the way real ones are: a bare file of
// the format from bytes held here, its metadata written by the library that
// reads it. Keys are the library's: "Exif.Photo.DateTimeOriginal",
// "Xmp.exif.DateTimeOriginal"; values its text forms.
using PhotoFields = std::map<std::string, std::string>;

enum class PhotoFormat { jpeg, png };
void writePhoto(const std::string& path, PhotoFormat format, const PhotoFields& fields);
// The JPEG `writePhoto` makes, as bytes.
std::string jpegBytes(const PhotoFields& fields);

// Tags by TagLib's property names: "ARTIST", "ALBUM", "TITLE", "GENRE",
// "TRACKNUMBER", "DISCNUMBER", "DATE".
using Tags = std::map<std::string, std::string>;

enum class AudioFormat { mp3, flac, wav };
void writeAudio(const std::string& path, AudioFormat format, const Tags& tags);

} // namespace morvane::testing
